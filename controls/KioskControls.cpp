#include "controls/KioskControls.h"

#include "platform/FileSystem.h"

#include <QWidget>

namespace quindle {

KioskControls KioskControls::create(QWidget* window, PictureDecoder& decoder)
{
    KioskControls controls;
    controls.window = window;
    controls.backdrop = new PictureControl(decoder, window, PictureFit::NaturalSize);
    controls.backdrop->show();
    controls.bigPicture = new PictureControl(decoder, window);
    controls.keyboardFrame = new PictureControl(decoder, window, PictureFit::NaturalSize);
    for (auto& button : controls.btnKeyboard) {
        button = new PictureControl(decoder, controls.keyboardFrame, PictureFit::NaturalSize);
        button->show();
    }
    controls.keyboardTop = new PictureControl(decoder, controls.keyboardFrame, PictureFit::NaturalSize);
    controls.keyboard = new PictureControl(decoder, controls.keyboardFrame, PictureFit::NaturalSize);
    controls.txtSearch = new SearchBox(controls.keyboardFrame);
    controls.kbdDown = new PictureControl(decoder, controls.keyboardFrame, PictureFit::NaturalSize);
    controls.attractPic = new PictureControl(decoder, window);
    controls.attractPic->setBackgroundColor(Qt::black);
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
