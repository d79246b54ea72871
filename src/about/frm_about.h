#pragma once
// frmAbout: the version dialog. It also carries the add-in's shared image list, so it
// is loaded when the tool window starts and stays loaded (closing it only hides it).
#include "controls/form.h"
#include "controls/image_list.h"
#include "controls/platform.h"
#include "controls/standard_controls.h"

#include <array>
#include <vector>

namespace about {

class FrmAbout : public controls::Form {
public:
    FrmAbout();
    ~FrmAbout() override;

    controls::PictureBox Image1;
    controls::Label lblAppVer;
    /// Label1 ... Label6: what each figure is.
    std::array<controls::Label, 6> Label;
    /// lblInfo1 ... lblInfo6: the figures.
    std::array<controls::Label, 6> lblInfo;
    /// Label13 ... Label18: the unit after each figure.
    std::array<controls::Label, 6> LabelUnit;
    controls::CommandButton cmdOSVersion;
    controls::CommandButton cmdOK;
    controls::ImageList imglstApplication;

    /// Fills lblInfo1 ... lblInfo6 with the machine's memory figures.
    void GetMemoryInfo();

    void Form_Load();
    void cmdOK_Click();
    void cmdOSVersion_Click();
    void Form_QueryUnload(bool &cancel, int unloadMode);

private:
    std::vector<host::Subscription> m_subscriptions;
};

/// A byte count as "#,##0" shows it: the locale's thousands separator, no decimals. The
/// whole 64-bit figure is shown; nothing is cut to 32 bits.
QString formatByteCount(quint64 bytes);

/// The six figures in the dialog's order (physical, paging file, virtual; total then free).
std::array<quint64, 6> memoryFigures(const controls::MemoryStatus &status);

/// "Tessary 0.1.0": the add-in's name and version as major.minor.revision.
QString applicationVersion();

/// A resource bitmap (16 x 16) by its key, as the bytes of its file; null when there is none.
host::Picture resourceBitmap(const QString &key);

} // namespace about
