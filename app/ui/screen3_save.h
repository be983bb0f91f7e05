// Saving a graph of screen 3 as a picture: the picture save dialog opened for the kind "グラフ"
// with the page's metafile name, and what the user confirmed in it.
#pragma once

#include <functional>
#include <string>

namespace fw {
class TImageEx;
}

namespace app {

struct PictureSaveChoice {
  std::string path;       // the metafile name the user confirmed (extension ".EMF")
  bool metafile = true;   // the metafile format was ticked: the caller writes the metafile
};

// Opens the picture save dialog modally for `image` (the picture it previews and may save as a
// bitmap itself) with the proposed metafile name; true when the user confirmed.
bool AskPictureSave(fw::TImageEx* image, const std::string& proposed, PictureSaveChoice& choice);

// Replaces the dialog (tests answer it from a script); empty: the dialog is shown.
extern std::function<bool(fw::TImageEx* image, const std::string& proposed, PictureSaveChoice& choice)>
    PictureSaveHook;

}  // namespace app
