#include "controls/KioskControls.h"

#include "platform/FileSystem.h"

#include <QWidget>

namespace quindle {

KioskControls KioskControls::create(QWidget* window)
{
    KioskControls controls;
    controls.window = window;
    controls.backdrop = new PictureControl(window, PictureFit::NaturalSize);
    controls.backdrop->show();
    controls.bigPicture = new PictureControl(window);
    controls.keyboardFrame = new PictureControl(window, PictureFit::NaturalSize);
    for (auto& button : controls.btnKeyboard) {
        button = new PictureControl(controls.keyboardFrame, PictureFit::NaturalSize);
        button->show();
    }
    controls.keyboardTop = new PictureControl(controls.keyboardFrame, PictureFit::NaturalSize);
    controls.keyboard = new PictureControl(controls.keyboardFrame, PictureFit::NaturalSize);
    controls.txtSearch = new SearchBox(controls.keyboardFrame);
    controls.kbdDown = new PictureControl(controls.keyboardFrame, PictureFit::NaturalSize);
    controls.attractPic = new PictureControl(window);
    return controls;
}

QString interfacePicture(const QString& interfaceFolder, const QString& fileName)
{
    return resolveCaseless(interfaceFolder, fileName);
}

void setPicture(PictureControl& control, const QString& interfaceFolder, const QString& fileName)
{
    if (control.tag().compare(fileName, Qt::CaseInsensitive) == 0)
        return;
    control.setPicturePath(interfacePicture(interfaceFolder, fileName));
    control.setTag(fileName);
}

} // namespace quindle
