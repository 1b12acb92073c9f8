// The browser window, IB_MainDoc: the program's only document window. This
// is its frame: the window with its menu bar and the items of layout 128
// with their opcodes, the shown and top folders, the command callback with
// the commands it answers or ignores, closing (which keeps the window's
// place and the shown folder in the preferences) and retitling after a
// resize; the folder browser: up to 22 subfolders of the shown folder that
// hold tree files, their tree files 32 to a page as thumbnails, the chosen
// file rendered large in the preview box.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "document/soundfunc.h"
#include "engine/gfunc.h"
#include "foundation/fileio.h"
#include "platform/files.h"
#include "ui/twindow.h"

inline constexpr int16_t kBrowserLayoutID = 128;
inline constexpr uint32_t kBrowserAttributes = 31;
inline constexpr int16_t kBrowserSubfolders = 22;
inline constexpr int16_t kBrowserPageFiles = 32;
inline constexpr const char* kBrowserTitle = "Kovrelin Browser";

// Items of layout 128.
enum : int16_t
{
  kItemPreviousPage = 1,
  kItemPreview = 2,
  kItemNextPage = 3,
  kItemFirstThumbnail = 4,  // 4..35
  kItemPlay = 36,
  kItemOpenInEditor = 37,
  kItemFirstSubfolder = 38,  // 38..59
  kItemParentFolder = 60,
  kItemFileName = 61,
};

class IB_MainDoc : public TWindow
{
public:
  // The window (class 6 document, attributes, bounds: the toplevel client
  // area with the menu bar) over layout `layoutID`, hidden; shows the last
  // folder of the preferences (the application's folder when it is gone).
  IB_MainDoc(int32_t windowClass, uint32_t attributes, const Rect* bounds, int16_t layoutID,
             bool fullScreen);
  // Hides the window and keeps its place and the shown folder in gPrefs.
  ~IB_MainDoc() override;

  void CallbackDraw() override {}
  void Draw() override;
  int32_t Act(Point where) override;
  int16_t Key(uint32_t character) override;
  void ResizeUI(Rect portBounds) override;
  void Idle(Point where) override;

  // The browser's own opcodes; -9874 for one it does not know.
  int16_t DoDocCommand(int32_t command, void* data);
  // The items' opcodes and data pointers.
  void SetupUiset();
  // Command 504: the parameter string of gAppInfos (with its number and
  // "%" when its flag is 1) in white over the window's bottom 32 pixels,
  // darkened by half.
  void DoDisplayMessage();
  // The 'wsiz' steps: title, port bounds, redraw.
  void UpdateWindow();
  // Shows the folder: it becomes the shown and the top folder, listed.
  void ShowFolder(const FileRef& shown);
  // A folder named on the command line or by an open request: shown as
  // ShowFolder does; but a folder that holds tree files and no subfolder
  // with any is shown as its parent's selected subfolder, so that its own
  // trees appear.
  void ShowTreeFolder(const FileRef& folder);

  // With ask, the folder dialog chooses the shown folder (a cancel keeps
  // it); the shown folder becomes the top folder and is listed.
  void Browser_Init(bool ask);
  // Lists the shown folder's subfolders that hold tree files.
  void Browser_SetDir();
  // Lists the selected subfolder's page from the first file on; with
  // descend, a subfolder without tree files of its own is entered.
  void Browser_SetFolder(bool descend);
  // Next page; a beep when the page is not full.
  void Browser_nextpage();
  // Previous page.
  void Browser_lastpage();
  // Draws the thumbnails and the preview that meet the update rectangle.
  void Browser_draw(const Rect& update);
  // Reads the selected file into the world's document and renders it.
  void Browser_drawpreview();
  // Reads the file into the thumbnail document and renders it in the box,
  // or "Format too old"; with option held the readable tree is written
  // back in the current format.
  void draw_kv_icon(const FileRef& file, const Rect& box);
  // Reads the file into the world's document and renders it in the preview
  // box; preview valid = 1 when it could be read.
  void draw_kv_preview(const FileRef& file);

  FileRef shownFolder;
  FileRef topFolder;
  FileRef subfolders[kBrowserSubfolders];
  FileRef pageFiles[kBrowserPageFiles];
  Rect thumbnailBoxes[kBrowserPageFiles] = {};
  Rect previewBox = {};
  int16_t subfolderCount = 0;
  int16_t filesOnPage = 0;
  int16_t selectedSubfolder = 0;
  int16_t highlightedSubfolder = 0;
  int16_t selectedFile = 0;
  int16_t firstFile = 0;
  int16_t previewValid = 0;
  int16_t redrawNeeded = 0;
  sSoundfunc soundSettings{};
  sfuncSystem thumbnailSystem{};

private:
  // Commands 51..89: the thumbnail k becomes the selected file, rendered.
  void SelectFile(int16_t k);
  // Command 92: up one folder, or at the top folder the folder dialog.
  void ParentFolder();
  // Renders the selected file in the preview and names it.
  void ShowSelectedFile();
  bool HasSelectedFile() const;
  // Command 90 (and option-click on a thumbnail): plays the selected file.
  void PlaySelected();
  // Command 91: hands the selected file to Plodex and brings it forward.
  void SendToPlodex();
  // 'open': the selected file to the tree editor (with option: to Plodex).
  void OpenInTreeEditor();
  // 'ofsr': shows the record's file: its folder's parent shown, its folder
  // selected, the page that holds it, the file selected and rendered. A
  // record that does not resolve changes nothing.
  void ShowFile(const frefinfos& record);
  // Lists the pages of the selected subfolder until one holds the file,
  // which becomes the selected file; false (first page listed) otherwise.
  bool FindPageOf(const FileRef& file);
  // Commands 95..116.
  void OpenSubfolder(int16_t k);
  // The selected subfolder's item gets the highlight colour.
  void HighlightSubfolder();
  void InvalidateThumbnails();
  // Lists the page from the first file on and asks for its redraw.
  void ChangePage();
  // The destructor's steps, once.
  void StoreInPreferences();
  bool stored_ = false;
};

// The browser's command callback.
int16_t IB_MainDoc_Command(Edoc* doc, int32_t command, void* data);
