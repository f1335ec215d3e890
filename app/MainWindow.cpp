#include "app/MainWindow.h"

#include "platform/JpegImage.h"
#include "resources/Blobs.h"

namespace {

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

}  // namespace

bool OpenMainWindow(gui::Gui& gui) {
    if (!gui.OpenWindow(kMainWindow, 379, 137, 378, 138, "By Quelnar", kWindowStyle)) return false;

    Blob banner = PictureBlob();
    gui.StoreImage(kBannerImage, gui::DecodeJpeg(banner.start, banner.Size()));
    gui.PictureControl(kPictureControl, kMainWindow, 80, 1, 212, 42, kBannerImage);
    gui.ButtonControl(kInstallButton, kMainWindow, 10, 100, 110, 30, "Install Tarvo lib");
    gui.ButtonControl(kUninstallButton, kMainWindow, 255, 100, 110, 30, "Desinstall Tarvo lib");

    // Black continues the banner's own background around it.
    gui.SetWindowColor(kMainWindow, RGB(0, 0, 0));
    return true;
}
