#include "ui/atsutext.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "imaging/qzbitmaps.h"
#include "ui/porttext.h"
#include "ui/textfonts_pvt.h"

struct ATSUStyleRec
{
  std::map<ATSUAttributeTag, std::vector<uint8_t>> attributes;
};

struct ATSUTextLayoutRec
{
  std::string text;  // UTF-8
  ATSUStyle style = nullptr;
  std::map<ATSUAttributeTag, int32_t> controls;
};

namespace {

// The size of each style attribute's value.
size_t AttributeSize(ATSUAttributeTag tag)
{
  switch (tag) {
    case kATSUBoldTag:
    case kATSUItalicTag:
      return 1;
    case kATSUVerticalCharactersTag:
      return 2;
    case kATSUFontTag:
    case kATSUSizeTag:
    case kATSURenderingOptionsTag:
      return 4;
    case kATSUColorTag:
      return 6;
    default:
      return 0;
  }
}

bool IsLayoutControl(ATSUAttributeTag tag)
{
  return tag == kATSULineWidthTag || tag == kATSULineRotationTag ||
         tag == kATSULineJustificationFactorTag || tag == kATSULineFlushFactorTag ||
         tag == kATSULineLayoutOptionsTag;
}

OSStatus SetAttribute(ATSUStyle style, ATSUAttributeTag tag, const void* value, size_t size)
{
  if (!style || !value || size == 0 || AttributeSize(tag) != size)
    return kATSUParamErr;
  const auto* bytes = static_cast<const uint8_t*>(value);
  style->attributes[tag].assign(bytes, bytes + size);
  return 0;
}

OSStatus SetControl(ATSUTextLayout layout, ATSUAttributeTag tag, int32_t value)
{
  if (!layout || !IsLayoutControl(tag))
    return kATSUParamErr;
  layout->controls[tag] = value;
  return 0;
}

template <class T>
T Attribute(ATSUStyle style, ATSUAttributeTag tag)
{
  T value{};
  atsuGetOneAttribute(style, tag, sizeof(T), &value);
  return value;
}

int32_t Control(ATSUTextLayout layout, ATSUAttributeTag tag)
{
  int32_t value = 0;
  atsuGetOneLayoutControl(layout, tag, sizeof(value), &value);
  return value;
}

// What the cairo callback needs to lay out and draw a box of text.
struct BoxDrawing
{
  PangoFontDescription* font = nullptr;
  const std::string* text = nullptr;
  Rect box;
  double lineLength = 0;
  double flush = 0;
  bool justify = false;
  bool quarterTurn = false;
  double rotation = 0;  // degrees, counter-clockwise in a y-up space
};

void DrawBox(void* cairo, void* info)
{
  auto* cr = static_cast<cairo_t*>(cairo);
  const auto& d = *static_cast<const BoxDrawing*>(info);
  // The context is flipped (y down): a turn that is clockwise on the screen
  // is a positive angle here.
  if (d.quarterTurn) {
    cairo_translate(cr, d.box.right, d.box.top);
    cairo_rotate(cr, std::numbers::pi / 2);
  } else {
    cairo_translate(cr, d.box.left, d.box.top);
    cairo_rotate(cr, -d.rotation * std::numbers::pi / 180);
  }
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_layout_set_font_description(layout, d.font);
  pango_layout_set_text(layout, d.text->data(), int(d.text->size()));
  pango_layout_set_width(layout, int(std::clamp(d.lineLength, 1.0, 1e6) * PANGO_SCALE));
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_justify(layout, d.justify);

  // One line height for all lines: the largest ascent and descent.
  int ascent = 0, descent = 0;
  for (GSList* l = pango_layout_get_lines_readonly(layout); l; l = l->next) {
    PangoRectangle logical;
    pango_layout_line_get_extents(static_cast<PangoLayoutLine*>(l->data), nullptr, &logical);
    ascent = std::max(ascent, -logical.y);
    descent = std::max(descent, logical.y + logical.height);
  }
  double y = 0;
  for (GSList* l = pango_layout_get_lines_readonly(layout); l; l = l->next) {
    auto* line = static_cast<PangoLayoutLine*>(l->data);
    PangoRectangle logical;
    pango_layout_line_get_extents(line, nullptr, &logical);
    y += double(ascent) / PANGO_SCALE;
    const double width = double(logical.width) / PANGO_SCALE;
    cairo_move_to(cr, d.flush * (d.lineLength - width), y);
    pango_cairo_show_layout_line(cr, line);
    y += double(descent) / PANGO_SCALE;
  }
  g_object_unref(layout);
}

// The flush factor of a justification code; the system here runs left to
// right, so 0 is start-flush.
Fract FlushOf(int16_t justification)
{
  switch (uint16_t(justification)) {
    case 1:
      return kFractOne / 2;
    case 65535:
      return kFractOne;
    default:
      return 0;
  }
}

OSStatus StyleFromBlock(ATSUStyle style, const styleBlock& b)
{
  return atsuSetFontStyle(style, b.fontID, b.size, b.bold != 0, b.italic != 0, b.color);
}

}  // namespace

// --- Records

ATSUStyle atsuCreateStyle()
{
  return new ATSUStyleRec;
}

void atsuDisposeStyle(ATSUStyle style)
{
  delete style;
}

void atsuClearStyle(ATSUStyle style)
{
  if (style)
    style->attributes.clear();
}

ATSUTextLayout atsuCreateLayout(const UniChar* text, int32_t length, ATSUStyle style)
{
  auto* layout = new ATSUTextLayoutRec;
  if (text && length > 0)
    layout->text = UItext_UTF8FromUTF16(text, size_t(length));
  layout->style = style;
  return layout;
}

void atsuDisposeLayout(ATSUTextLayout layout)
{
  delete layout;
}

// --- Setters and getters

OSStatus atsuSetIntAttribute(ATSUStyle style, ATSUAttributeTag tag, int32_t value)
{
  return SetAttribute(style, tag, &value, sizeof(value));
}

OSStatus atsuSetShortAttribute(ATSUStyle style, ATSUAttributeTag tag, int16_t value)
{
  return SetAttribute(style, tag, &value, sizeof(value));
}

OSStatus atsuSetFractAttribute(ATSUStyle style, ATSUAttributeTag tag, Fract value)
{
  return SetAttribute(style, tag, &value, sizeof(value));
}

OSStatus ATSUIStuffSetFont(ATSUStyle style, uint32_t font)
{
  return SetAttribute(style, kATSUFontTag, &font, sizeof(font));
}

OSStatus ATSUIStuffSetSize(ATSUStyle style, Fixed size)
{
  return SetAttribute(style, kATSUSizeTag, &size, sizeof(size));
}

OSStatus atsuSetFontStyle(ATSUStyle style, uint32_t font, int16_t size, bool bold, bool italic,
                          RGBColor color)
{
  const uint8_t b = bold, i = italic;
  OSStatus err = ATSUIStuffSetFont(style, font);
  if (!err)
    err = ATSUIStuffSetSize(style, FixedFromInt(size));
  if (!err)
    err = SetAttribute(style, kATSUBoldTag, &b, 1);
  if (!err)
    err = SetAttribute(style, kATSUItalicTag, &i, 1);
  if (!err)
    err = SetAttribute(style, kATSUColorTag, &color, sizeof(color));
  return err;
}

OSStatus atsuSetLayoutOptions(ATSUTextLayout layout, int32_t options)
{
  return SetControl(layout, kATSULineLayoutOptionsTag, options);
}

OSStatus atsuSetFractLayoutControl(ATSUTextLayout layout, ATSUAttributeTag tag, Fract value)
{
  return SetControl(layout, tag, value);
}

OSStatus atsuSetFixedLayoutControl(ATSUTextLayout layout, ATSUAttributeTag tag, Fixed value)
{
  return SetControl(layout, tag, value);
}

OSStatus atsuGetOneAttribute(ATSUStyle style, ATSUAttributeTag tag, size_t size, void* value)
{
  if (!style || !value || AttributeSize(tag) != size)
    return kATSUParamErr;
  auto it = style->attributes.find(tag);
  if (it == style->attributes.end())
    std::memset(value, 0, size);
  else
    std::memcpy(value, it->second.data(), size);
  return 0;
}

OSStatus atsuGetOneLayoutControl(ATSUTextLayout layout, ATSUAttributeTag tag, size_t size,
                                 void* value)
{
  if (!layout || !value || !IsLayoutControl(tag) || size != sizeof(int32_t))
    return kATSUParamErr;
  auto it = layout->controls.find(tag);
  const int32_t v = it == layout->controls.end() ? 0 : it->second;
  std::memcpy(value, &v, size);
  return 0;
}

OSStatus atsuSetStyleFromGrafPtr(ATSUStyle style, CGrafPtr port, bool clearFirst)
{
  if (!style)
    return kATSUParamErr;
  if (!port) {
    GDHandle device = nullptr;
    GetGWorld(&port, &device);
  }
  if (!port)
    return kATSUParamErr;
  const PortTextStyle text = GetPortTextStyle(port);
  // The family's plain font; its intrinsic style is plain, so the face bits
  // give bold and italic.
  const uint32_t font = uint32_t(4 * (((text.font % 8) + 8) % 8));
  const int16_t size = text.size == 0 ? 12 : text.size;
  if (clearFirst)
    atsuClearStyle(style);
  return atsuSetFontStyle(style, font, size, (text.face & 1) != 0, (text.face & 2) != 0,
                          port->drawState.foreColor);
}

// --- Drawing

OSStatus atsuDrawTextInBox(ATSUTextLayout layout, const Rect* box)
{
  if (!layout || !box)
    return kATSUParamErr;
  if (layout->text.empty())
    return 0;
  CGrafPtr port = nullptr;
  GDHandle device = nullptr;
  GetGWorld(&port, &device);
  CGContextRef ctx = port ? QZ_OpenContext(port) : nullptr;
  if (!ctx)
    return kATSUParamErr;

  ATSUStyle style = layout->style;
  const uint32_t fontID = Attribute<uint32_t>(style, kATSUFontTag);
  const Fixed sizeFixed = Attribute<Fixed>(style, kATSUSizeTag);
  const double size = sizeFixed > 0 ? sizeFixed / 65536.0 : 12.0;
  const RGBColor color = Attribute<RGBColor>(style, kATSUColorTag);

  BoxDrawing d;
  d.text = &layout->text;
  d.box = *box;
  const Fixed rotation = Control(layout, kATSULineRotationTag);
  d.quarterTurn = rotation == FixedFromInt(-90);
  d.rotation = rotation / 65536.0;
  const Fixed lineWidth = Control(layout, kATSULineWidthTag);
  d.lineLength = lineWidth > 0 ? lineWidth / 65536.0
                               : double(d.quarterTurn ? RectHeight(*box) : RectWidth(*box));
  d.flush = std::clamp(Control(layout, kATSULineFlushFactorTag) / double(kFractOne), 0.0, 1.0);
  d.justify = Control(layout, kATSULineJustificationFactorTag) > 0;
  d.font = UItext_FontForName(gfontnames[fontID % 32], Attribute<uint8_t>(style, kATSUBoldTag),
                              Attribute<uint8_t>(style, kATSUItalicTag), size);
  QZ_ContextSetRGBFillColor(ctx, color.red / 65535.0, color.green / 65535.0, color.blue / 65535.0,
                            1);
  QZ_ContextDrawWithCairo(ctx, DrawBox, &d);
  pango_font_description_free(d.font);
  QZ_CloseContext(ctx, port);
  return 0;
}

void atsuTextBox(const UniChar* text, int32_t length, const Rect* box, int16_t justification,
                 const styleBlock* block)
{
  atsuFVTextBox(text, length, box, justification, 0, 0, true, block);
}

OSStatus atsuFVTextBox(const UniChar* text, int32_t length, const Rect* box, int16_t justification,
                       Fract justificationFactor, int16_t orientation, bool,
                       const styleBlock* block)
{
  if (!text || length <= 0)
    return 0;
  if (!box)
    return kATSUParamErr;
  ATSUStyle style = atsuCreateStyle();
  OSStatus err =
      block ? StyleFromBlock(style, *block) : atsuSetStyleFromGrafPtr(style, nullptr, false);
  if (!err)
    err = atsuSetIntAttribute(style, kATSURenderingOptionsTag, 1);
  const bool vertical = orientation == 1;
  if (!err && vertical)
    err = atsuSetShortAttribute(style, kATSUVerticalCharactersTag, 2);
  ATSUTextLayout layout = atsuCreateLayout(text, length, style);
  if (!err && vertical)
    err = atsuSetFixedLayoutControl(layout, kATSULineRotationTag, FixedFromInt(-90));
  const Fract flush = FlushOf(justification);
  if (!err && (justificationFactor != 0 || flush != 0)) {
    const int32_t length16 = vertical ? RectHeight(*box) : RectWidth(*box);
    err = atsuSetFixedLayoutControl(layout, kATSULineWidthTag, FixedFromInt(length16));
    if (!err)
      err = atsuSetFractLayoutControl(layout, kATSULineFlushFactorTag, flush);
    if (!err)
      err = atsuSetFractLayoutControl(layout, kATSULineJustificationFactorTag, justificationFactor);
    if (!err)
      err = atsuSetLayoutOptions(layout, 0);
  }
  if (!err)
    err = atsuDrawTextInBox(layout, box);
  atsuDisposeLayout(layout);
  atsuDisposeStyle(style);
  return err;
}

void ATSU_drawString(const textLook* look, ConstStringPtr text, Rect box, normalcolor color)
{
  if (!look || !text)
    return;
  const std::vector<UniChar> utf16 = UItext_UTF16FromPascal(text);
  styleBlock block;
  block.fontID = uint32_t(4 * (look->font % 8));
  block.size = look->size;
  block.bold = (look->face % 4) & 1;
  block.italic = ((look->face % 4) & 2) != 0;
  block.color =
      RGBColor{uint16_t(color.red * 257), uint16_t(color.green * 257), uint16_t(color.blue * 257)};
  static constexpr int16_t kJustifications[3] = {0, 1, -1};
  atsuTextBox(utf16.data(), int32_t(utf16.size()), &box, kJustifications[look->just % 3], &block);
}
