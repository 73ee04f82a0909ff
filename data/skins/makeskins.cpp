// Draws the designs shipped in the program's "skin" folder, writes them as design files
// and writes a magnified preview of each for people to look at.

#include "preview.h"
#include "skinpainter.h"
#include "theme.h"

#include "platform/files.h"
#include "platform/tempdir.h"
#include "settings/designfile.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

namespace {

void MakeDesign(const TTheme &theme, const std::string &skinFolder,
                const std::string &previewFolder)
{
    const QImage skin = PaintSkin(theme);
    WriteDesignFile(skinFolder + theme.fileName, FromQColor(theme.back), FromQColor(theme.active),
                    FromQColor(theme.noActive), skin);
    const std::string preview = previewFolder + platform::ChangeFileExt(theme.fileName, ".png");
    if (!RenderPreview(theme, skin).save(QString::fromStdString(preview), "PNG"))
        throw std::runtime_error("Cannot write " + preview);
}

// The toolkit wants a private runtime folder, and a build usually runs outside a desktop
// session. Without one the toolkit only complains and makes its own.
void EnsureRuntimeFolder()
{
    if (std::getenv("XDG_RUNTIME_DIR") != nullptr)
        return;
    try {
        ::setenv("XDG_RUNTIME_DIR", platform::GetTempPath().c_str(), 0);
    } catch (const std::runtime_error &) {
    }
}

} // namespace

int main(int argc, char **argv)
{
    EnsureRuntimeFolder();
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <skin folder> <preview folder>\n", argv[0]);
        return 2;
    }
    try {
        const std::string skinFolder = platform::IncludeTrailingDelimiter(argv[1]);
        const std::string previewFolder = platform::IncludeTrailingDelimiter(argv[2]);
        std::filesystem::create_directories(skinFolder);
        std::filesystem::create_directories(previewFolder);
        for (const TTheme &theme : ShippedThemes())
            MakeDesign(theme, skinFolder, previewFolder);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
    return 0;
}
