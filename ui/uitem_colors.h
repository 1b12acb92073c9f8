// Colour, gradation and vector items: their classes. Included by
// ui/uitem.h only, after uitem_number; include ui/uitem.h instead.
#pragma once

class uitem_colorpop : public uitem
{
public:
  explicit uitem_colorpop(const e_uiallinfos* info = nullptr);
  void SetDefaults() override;
  void SetDataPointer(void* data) override;

  normalcolor* color = nullptr;
};

class uitem_multivector : public uitem_number
{
public:
  explicit uitem_multivector(const e_uiallinfos* info = nullptr);
  void SetDefaults() override;
};

class uitem_cgradation : public uitem_number
{
public:
  explicit uitem_cgradation(const e_uiallinfos* info = nullptr);
};
