#pragma once
// frmAbout: the version dialog. It also carries the add-in's shared image list, so it
// is loaded when the tool window starts and stays loaded.
#include "controls/form.h"
#include "controls/image_list.h"

namespace about {

class FrmAbout : public controls::Form {
public:
    FrmAbout();

    controls::ImageList imglstApplication;
};

/// A resource bitmap (16 x 16) by its key; null when there is none.
QImage resourceBitmap(const QString &key);

} // namespace about
