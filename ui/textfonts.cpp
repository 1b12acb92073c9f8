#include <algorithm>
#include <cstring>
#include <string_view>

#include "ui/textfonts_pvt.h"

namespace {

struct FamilyMap
{
  std::string_view postScript;
  const char* family;
};

// The families the names ask for and the Debian families that stand in.
constexpr FamilyMap kFamilies[] = {
    {"Arial", "Liberation Sans"},  {"Helvetica", "Nimbus Sans"},    {"Times", "Nimbus Roman"},
    {"Courier", "Nimbus Mono PS"}, {"CenturyGothic", "URW Gothic"}, {"Monaco", "DejaVu Sans Mono"},
};
constexpr const char* kOtherFamily = "DejaVu Sans";

bool Has(std::string_view s, std::string_view part)
{
  return s.find(part) != std::string_view::npos;
}

}  // namespace

PangoFontDescription* UItext_FontForName(const char* postScriptName, bool bold, bool italic,
                                         double size)
{
  const std::string_view name = postScriptName ? postScriptName : "";
  const size_t dash = name.find('-');
  const std::string_view base = name.substr(0, dash);
  const std::string_view styleName = dash == std::string_view::npos ? "" : name.substr(dash + 1);

  const char* family = kOtherFamily;
  for (const FamilyMap& f : kFamilies)
    if (f.postScript == base)
      family = f.family;

  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, family);
  PangoWeight weight = PANGO_WEIGHT_NORMAL;
  if (Has(styleName, "ExtraBold"))
    weight = PANGO_WEIGHT_ULTRABOLD;
  else if (Has(styleName, "Bold"))
    weight = PANGO_WEIGHT_BOLD;
  else if (Has(styleName, "Medium"))
    weight = PANGO_WEIGHT_MEDIUM;
  if (bold && weight < PANGO_WEIGHT_BOLD)
    weight = PANGO_WEIGHT_BOLD;
  pango_font_description_set_weight(d, weight);
  PangoStyle slant = PANGO_STYLE_NORMAL;
  if (Has(styleName, "Italic"))
    slant = PANGO_STYLE_ITALIC;
  else if (Has(styleName, "Oblique"))
    slant = PANGO_STYLE_OBLIQUE;
  if (italic && slant == PANGO_STYLE_NORMAL)
    slant = PANGO_STYLE_ITALIC;
  pango_font_description_set_style(d, slant);
  if (Has(styleName, "Condensed"))
    pango_font_description_set_stretch(d, PANGO_STRETCH_CONDENSED);
  const double units = std::clamp(size, 1.0, 4096.0) * PANGO_SCALE;
  pango_font_description_set_absolute_size(d, units);
  return d;
}
