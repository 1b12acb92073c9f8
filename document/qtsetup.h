// The picture and movie services besides movie inputs: start-up and exit,
// reading any still image the picture readers understand into an off-screen
// buffer (natural size or scaled into a rectangle), writing a buffer to an
// image file, numbered file names, one-frame movies, the movie information
// line and the error report. Main thread only.
//
// Still image types: PNG, JPEG, TIFF, GIF, BMP, PDF (page 1), PSD and PICT.
// 'PICS' sequences and 'qtif' files are not read on Linux (-1: input slots
// fall back to the default picture).
#pragma once

#include <cstdint>

#include "document/movies.h"
#include "foundation/fileio.h"
#include "foundation/types.h"
#include "imaging/accesspix.h"
#include "imaging/offworld.h"
#include "platform/files.h"

// The standard-compression component that written movies go through when one
// is set. No such component exists on Linux: it stays null.
struct KVcompressorInstance;
extern KVcompressorInstance* gci;

// The application record's text buffer, which setMovieInfosString fills.
extern Str255 gAppInfosText;

// Prompts of the picture file dialogs.
inline constexpr unsigned char kSavePicturePrompt[] = "\x12Save Picture as...";
inline constexpr unsigned char kOpenImagePrompt[] = "\x0DOpen Image...";

// Sets the still-compression settings to their defaults and gci to null; 0
// (the movie services are always there).
int16_t InitMovieToolbox();
// Closes gci if it is open.
void ExitMovieToolbox();

// Reads a still into a new buffer of its natural size at `depth` (1, 8, 16
// or 32) in *out: 0; -1 when no reader takes the file, it is damaged, larger
// than 32,767 pixels a side, or the buffer cannot be made; -2 when the
// picture has no size.
int16_t QTgetGenericImageGW(const FileRef& file, Offworld* out, int16_t depth);
// Draws a still scaled into `dest` of an existing buffer (cut to it): 0, or
// -1 for no buffer or no reader.
int16_t QTgetGenericImageInto(const FileRef& file, Offworld gw, Rect dest);
// As QTgetGenericImageInto; -1 also when neither the file's type nor its
// content gives it a type.
int16_t QTgetAnyImageInto(const FileRef& file, Offworld gw, Rect dest);

// Writes the buffer to the file the record names, in the format of its type
// ('PNGf' PNG, 'TIFF' TIFF, 'PICT' PICT), with the record's type and the
// creator: 1, or 0 when the folder does not exist, the type has no writer or
// the file cannot be written.
int16_t QT_ExportGworld(const frefinfos* file, Offworld gw, OSType creator);
// The same for a block of 32-bit pixels (base, row bytes, width, height),
// with the application's creator.
int16_t QTGraphicsExportBits(const frefinfos* file, const AccessPix* pixels);
// Appends ".png" for 'PNGf', ".tif" for 'TIFF' and ".pct" for 'PICT' to the
// reference's name; other types leave it.
void QTGraphicsExportSetExtension(FileRef* file, OSType type);

// The work after the picture file dialogs, on the file the user chose.
// The name a save dialog proposes: the record's name without its extension.
void QTSave_ImageDefaultName(const frefinfos* file, StringPtr out);
// Exports the buffer to the chosen file: 1 when saved, else 0.
int16_t QTSave_Image(const frefinfos* chosen, Offworld gw, OSType creator);
// Reads the chosen file into a new buffer at `depth`: 1, or 0 when no file
// was chosen (an empty reference) or it cannot be read.
int16_t QTLoad_Image(const FileRef& chosen, Offworld* out, int16_t depth);
// Draws the chosen file into `dest` of the buffer: 1 when drawn, else 0.
int16_t QTLoad_ImageInto(const FileRef& chosen, Offworld gw, Rect dest);

// The number written just before a name's extension ("img0099.png" gives
// 99); -1 when there is none.
int32_t QTGetImageNumber(ConstStringPtr name);
// Replaces that number by `number`, zero-padded to as many digits as the old
// one had (two to five; four when there was none), keeping the extension.
void QTConcatNumberKeepExtension(StringPtr name, int32_t number);

// 1 when the movie's first 'vide' track holds exactly one frame; *track gets
// that track's index, or without one the first 'flsh' track's (0 when none).
int16_t IsMoviePict(const FileRef& file, int16_t* track);

// Writes "( size : WxH  fps : F )" (F with two decimals) into gAppInfosText.
void setMovieInfosString(const MovieInputWork* work);

// 0 for code 0; otherwise reports a non-empty message with the code and
// returns 2.
int16_t CheckError(OSErr code, ConstStringPtr message);

// The compression instance the movie settings' compression dialog makes: once
// it is set in gci, written movies are encoded with the codec type, depth
// and quality of gSCSpatialSettings.
struct KVcompressorInstance
{
  OSType codecType;  // the codec type the instance was made for
};
// Makes the instance for gSCSpatialSettings' codec type and sets gci to it;
// null (gci unchanged) when no encoder writes that type ('rle ', 'jpeg',
// 'png ' and 'mp4v' are written).
KVcompressorInstance* KV_openCompressor();
