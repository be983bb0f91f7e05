#include "app/ui/screen3_save.h"

#include "framework/messages.h"
#include "framework/ui/controls.h"
#include "platform/cp932.h"
#include "framework/ui/picture_save.h"

namespace app {

std::function<bool(fw::TImageEx*, const std::string&, PictureSaveChoice&)> PictureSaveHook;

bool AskPictureSave(fw::TImageEx* image, const std::string& proposed, PictureSaveChoice& choice) {
  if (PictureSaveHook) return PictureSaveHook(image, proposed, choice);
  fw::CurrentPicture = image;
  bool saved = false;
  {
    fw::TGRSVForm dialog(image ? image->window() : nullptr);
    dialog.Setup(platform::J("グラフ"), proposed);
    dialog.exec();
    saved = fw::DialogYes;
  }
  fw::CurrentPicture = nullptr;
  if (!saved) return false;
  choice.path = fw::ChangeFileExt(fw::SavePath, ".EMF");
  choice.metafile = fw::MetafileChosen;
  return true;
}

}  // namespace app
