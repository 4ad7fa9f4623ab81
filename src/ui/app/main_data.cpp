#include "ui/app/main_data.h"

namespace ormica::MainData {

QString ProgramDir;
TImageControl* SrcImageRef = nullptr;
TImageControl* TrgImageRef = nullptr;
QTabWidget* PagesRef = nullptr;
TImgTabBGR SrcArr;
TImgTabBGR TrgArr;
bool TargetChanged = false;
bool TargetFiltered = false;

}  // namespace ormica::MainData
