// RGB colour operations: gamma, HLS conversions, depth sort, colorize,
// gaussian, contrast, quantize, dither, gradient mapping and saturation.
// Placeholders until built: an entry without compute and handler.
#pragma once

#include "components/common/member.h"

inline constexpr KVmemberDesc kF33_gamma{.id = 5, .computeName = "f33_gamma", .name = " RGB gamma"};
inline constexpr KVmemberDesc kF33_HLStransform{
    .id = 6, .computeName = "f33_HLStransform", .name = " RGB to HLS"};
inline constexpr KVmemberDesc kF33_RGBtransform{
    .id = 7, .computeName = "f33_RGBtransform", .name = " HLS to RGB"};
inline constexpr KVmemberDesc kF33_zcompare{
    .id = 11, .computeName = "f33_zcompare", .name = " Packed Depth sort"};
inline constexpr KVmemberDesc kF33_colorize{
    .id = 34, .computeName = "f33_colorize", .name = " Colorize"};
inline constexpr KVmemberDesc kF33_gaussian{
    .id = 37, .computeName = "f33_gaussian", .name = " RGB Gaussian"};
inline constexpr KVmemberDesc kF33_RGBContrast{
    .id = 38, .computeName = "f33_RGBContrast", .name = " RGB Contrast"};
inline constexpr KVmemberDesc kF33_quantize{
    .id = 39, .computeName = "f33_quantize", .name = " RGB Quantize"};
inline constexpr KVmemberDesc kF33_RGBdither{
    .id = 44, .computeName = "f33_RGBdither", .name = " RGB dither"};
inline constexpr KVmemberDesc kF33_MAXtogradient{
    .id = 49, .computeName = "f33_MAXtogradient", .name = " Max to gradient"};
inline constexpr KVmemberDesc kF33_saturation{
    .id = 50, .computeName = "f33_saturation", .name = " Saturation & Lum"};
