// Runs the real installer through its four faces (the window, the folder browser, the
// completion message, an error message) and saves each as a 24-bit BMP of the screen area
// the windows cover. scripts/make-pictures turns them into the PNGs under docs/.
// Usage: tarvo_screenshots <output folder ending with a backslash>
#include "platform/GdiScope.h"
#include "support/CompilerFolder.h"
#include "support/Processes.h"
#include "support/ScreenDc.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

RECT Union(HWND a, HWND b) {
    RECT ra{}, rb{};
    GetWindowRect(a, &ra);
    if (!b) return ra;
    GetWindowRect(b, &rb);
    RECT both;
    UnionRect(&both, &ra, &rb);
    return both;
}

bool SaveScreen(const RECT& area, const std::string& path) {
    const int margin = 8;
    int x = area.left - margin, y = area.top - margin;
    int width = area.right - area.left + 2 * margin, height = area.bottom - area.top + 2 * margin;
    ScreenDc screen;
    UniqueDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap) return false;
    gui::SelectScope selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), x, y, SRCCOPY);
    GdiFlush();
    DWORD stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + stride * height;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), stride * height);
    std::printf("saved %s\n", path.c_str());
    return static_cast<bool>(out);
}

// A folder laid out like a compiler installation where a user would have one, made for the
// pictures and removed afterwards. One that is already there may be a real installation: it is
// left alone, and the pictures are not taken.
class StagedFolder {
public:
    StagedFolder(const std::string& path, bool withHelp) : path_(path), made_(!FolderExists(path)) {
        if (!made_) return;
        MakeFolders(path + "\\PureLibraries\\UserLibraries");
        if (withHelp) MakeFolders(path + "\\Help");
    }
    ~StagedFolder() {
        if (made_) RemoveTree(path_);
    }
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;

    bool Made() const { return made_; }
    const std::string& Path() const { return path_; }
    std::string Leaf() const { return path_.substr(path_.find_last_of('\\') + 1); }

private:
    std::string path_;
    bool made_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\\\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    StagedFolder pb("C:\\Program Files\\PureBasic", true);
    StagedFolder noHelp("C:\\Program Files\\Jeux", false);
    for (const StagedFolder* folder : {&pb, &noHelp}) {
        if (!folder->Made()) {
            std::fprintf(stderr, "%s is already there; the pictures need a prefix without it\n", folder->Path().c_str());
            return 1;
        }
    }
    RecordedCompiler recorded(pb.Path());
    InstallerProcess app;
    HWND main = app.MainWindow();
    if (!main) return 1;
    Sleep(1500);
    SaveScreen(Union(main, nullptr), out + "main-window.bmp");

    PostMessageA(app.Control(1), BM_CLICK, 0, 0);
    HWND browser = app.WaitForBrowser();
    if (!browser) return 1;
    app.ChooseFolder(browser, pb.Path());  // selects, then presses OK
    // Re-open to picture the browser with the proposal selected, undisturbed.
    HWND box = app.WaitForMessageBox();
    if (!box) return 1;
    Sleep(800);
    SaveScreen(Union(main, box), out + "done-message.bmp");
    app.Dismiss(box, IDOK);

    PostMessageA(app.Control(1), BM_CLICK, 0, 0);
    browser = app.WaitForBrowser();
    if (!browser) return 1;
    app.WaitForSelection(browser, pb.Leaf(), 10000);
    Sleep(800);
    SaveScreen(Union(main, browser), out + "folder-picker.bmp");
    app.ChooseFolder(browser, noHelp.Path());
    box = app.WaitForMessageBox();
    if (!box) return 1;
    Sleep(800);
    SaveScreen(Union(main, box), out + "error-message.bmp");
    app.Dismiss(box, IDOK);
    app.Close();
    return 0;
}
