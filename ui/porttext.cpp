#include "ui/porttext.h"

#include <unordered_map>

namespace {

std::unordered_map<CGrafPtr, PortTextStyle>& Styles()
{
  static std::unordered_map<CGrafPtr, PortTextStyle> styles;
  return styles;
}

PortTextStyle* CurrentStyle()
{
  CGrafPtr port = nullptr;
  GDHandle device = nullptr;
  GetGWorld(&port, &device);
  return port ? &Styles()[port] : nullptr;
}

}  // namespace

void TextFont(int16_t font)
{
  if (PortTextStyle* s = CurrentStyle())
    s->font = font;
}

void TextSize(int16_t size)
{
  if (PortTextStyle* s = CurrentStyle())
    s->size = size;
}

void TextFace(int16_t face)
{
  if (PortTextStyle* s = CurrentStyle())
    s->face = face;
}

PortTextStyle GetPortTextStyle(CGrafPtr port)
{
  auto it = Styles().find(port);
  return it == Styles().end() ? PortTextStyle{} : it->second;
}

void ForgetPortTextStyle(CGrafPtr port)
{
  Styles().erase(port);
}
