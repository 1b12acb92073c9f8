// ui_smoke [RESOURCES]: starts the UI library on the display and shows a
// document window "Kovrelin smoke" of 320 x 240 at (100, 100): the left half
// red, the right half blue, a white band with the title in black at the
// bottom, and the OK button of the first list image at the top-left. Each
// click draws a green 9 x 9 marker centred on it. Escape, or 30 seconds
// without input, ends it with status 0. Prints "shown", then "click H V"
// (window coordinates) for each click.
#include <cstdio>
#include <cstdlib>

#include "foundation/mempool.h"
#include "foundation/pstrings.h"
#include "imaging/quartz.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "ui/qzdraw.h"
#include "ui/qztext.h"
#include "ui/twindow.h"
#include "ui/uilib.h"

namespace {

constexpr int16_t kLeft = 100, kTop = 100, kWidth = 320, kHeight = 240;
constexpr uint32_t kIdleLimitTicks = 30 * 60;

bool gDone = false;
uint32_t gLastInput = 0;

class SmokeWindow : public TWindow
{
public:
  SmokeWindow(const Rect& r) : TWindow(kDocumentWindowClass, 0, &r, 0, false)
  {
    kvui::setWindowTitle(window, "Kovrelin smoke");
    OpenContext();
    Show();
  }

  void Draw() override
  {
    TWindow::Draw();
    CallbackDraw();
    FlushContext();
  }

  void CallbackDraw() override
  {
    if (!context)
      return;
    const double half = RectWidth(portRect) / 2.0;
    QZ_ContextSetRGBFillColor(context, 1, 0, 0, 1);
    QZ_ContextFillRect(context, QZRect{0, 0, half, double(RectHeight(portRect))});
    QZ_ContextSetRGBFillColor(context, 0, 0, 1, 1);
    QZ_ContextFillRect(context, QZRect{half, 0, half, double(RectHeight(portRect))});
    Rect band{int16_t(portRect.bottom - 30), 0, portRect.bottom, portRect.right};
    QZ_ContextSetRGBFillColor(context, 1, 1, 1, 1);
    QZ_ContextFillRect(context, QZ_RectFromRect(band));
    Str255 caption;
    SetPString(caption, "Kovrelin smoke");
    textLook captionLook{16, 1, 0, 1};
    QZ_drawString(context, &captionLook, caption, band, 1, 0, 0, 0);
    if (CGImageRef list = uiImages ? uiImages[0] : nullptr) {
      // Cell 4 (OK up) of the first list image.
      QZ_ContextSaveGState(context);
      QZ_ContextClipToRect(context, QZRect{4, 4, 32, 32});
      QZdraw_image(context, 4 - 4 * 32, 4, list);
      QZ_ContextRestoreGState(context);
    }
  }

  int32_t Act(Point where) override
  {
    gLastInput = kvclock::ticks();
    std::printf("click %d %d\n", where.h, where.v);
    std::fflush(stdout);
    QZ_ContextSetRGBFillColor(context, 0, 1, 0, 1);
    QZ_ContextFillRect(context, QZRect{where.h - 4.0, where.v - 4.0, 9, 9});
    FlushContext();
    return 0;
  }

  int16_t Key(uint32_t character) override
  {
    gLastInput = kvclock::ticks();
    if (character == 27)
      gDone = true;
    return 0;
  }

  void Idle(Point) override { gLastInput = kvclock::ticks(); }
};

}  // namespace

int main(int argc, char** argv)
{
  if (!kvui::startGtk()) {
    std::fprintf(stderr, "ui_smoke: no display to show windows on\n");
    return 1;
  }
  finit(&gMemPool, kMemPoolFloorSize);
  FileRef resources;
  if (argc > 1)
    resources = FileRef{argv[1], ""};
  init_EUILIB(nullptr, fourcc("Qjpr"), normalcolor{255, 0, 255, 0}, 0,
              argc > 1 ? &resources : nullptr);
  {
    SmokeWindow w(Rect{kTop, kLeft, kTop + kHeight, kLeft + kWidth});
    if (!w.window)
      return 1;
    w.Draw();
    std::printf("shown\n");
    std::fflush(stdout);
    gLastInput = kvclock::ticks();
    while (!gDone && kvclock::ticks() - gLastInput < kIdleLimitTicks) {
      kvui::pump();
      kvclock::sleepTicks(1);
    }
  }
  Kill_EUILIB();
  kvui::stop();
  return 0;
}
