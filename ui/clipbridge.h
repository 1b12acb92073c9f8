// The bridge between the program's scrap store (imaging/scrap.h) and the
// desktop clipboard: pictures ('PICT') travel as PNG images ("image/png"),
// PDF documents ('PDF ') as "application/pdf".
//
// Main thread only.
#pragma once

// Puts the store's pictures and PDF documents on the desktop clipboard
// (replacing what it held). False when the store holds neither or a picture
// cannot be converted.
bool UI_ExportScrapToClipboard();
// Replaces the store's contents by the desktop clipboard's PDF document and
// picture. False (the store untouched) when the clipboard holds neither.
bool UI_ImportClipboardToScrap();
