#include "settings/setting_form.h"

#include "fakedialogs.h"

#include "app/appstate.h"
#include "app/datafolder.h"
#include "app/design.h"
#include "app/skinatlas.h"
#include "platform/files.h"
#include "platform/widgets/image.h"
#include "settings/bmpimage.h"
#include "settings/colorpanel.h"
#include "settings/designfile.h"
#include "support/tempfolder.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QImage Pattern(int width, int height, int seed = 0)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 5 + seed) % 256, (y * 11) % 256, (x * y) % 256));
    }
    return image;
}

bool SamePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
        }
    }
    return true;
}

// The design a file holds, read through the program's reader.
struct StoredDesign
{
    TColor colors[3] = {0, 0, 0};
    QImage picture;
};

class DesignRecorder final : public TDesignTarget
{
public:
    void SetColor(TDesignColor which, TColor color) override { design.colors[which] = color; }
    void SetBitmap(const QImage &bitmap) override { design.picture = bitmap; }
    StoredDesign design;
};

StoredDesign ReadStored(const std::string &path)
{
    DesignRecorder recorder;
    ReadDesign(path, recorder);
    return recorder.design;
}

class SettingWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.Path() + "/");
        ::mkdir((folder / "format").c_str(), 0700);
        ::mkdir((folder / "skin").c_str(), 0700);
        FormatName = "GM.MID";
        SkinName = "default.mbd";
        ShowLength = false;
        ShowLyrics = false;
        WriteDesignFile(folder / "skin/default.mbd", 0x00101010, 0x00202020, 0x00303030,
                        Pattern(SkinWidth, SkinHeight));
        // The colours in use differ from the file's, as after an unsaved "Change".
        BackColor = 0x00AA0000;
        ActiveColor = 0x0000BB00;
        NoActiveColor = 0x000000CC;
        SkinBitmap = Pattern(SkinWidth, SkinHeight, 7);
        DesignChanged = true;
    }

    void TearDown() override { EXPECT_TRUE(answers.reports.empty()) << answers.reports.front(); }

    // Opens a fresh window as the player does and lets it settle; repaint stands in for
    // the player's repaint (counting the calls when not given).
    TSetting &Open(std::function<void()> repaint = {})
    {
        if (!repaint)
            repaint = [this] { ++repaints; };
        window = std::make_unique<TSetting>(std::move(repaint), nullptr,
                                            std::make_unique<FakeDialogs>(answers));
        window->show();
        QApplication::processEvents();
        return *window;
    }

    template<typename T>
    T *Find(const char *name) const
    {
        T *child = window->findChild<T *>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    void ShowPage(const char *name)
    {
        auto *pages = Find<QTabWidget>("PageControl1");
        const int index = pages->indexOf(Find<QWidget>(name));
        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {},
                          pages->tabBar()->tabRect(index).center());
        ASSERT_EQ(pages->currentIndex(), index) << name;
    }

    QListWidgetItem *Row(const char *list, const std::string &name) const
    {
        const auto *widget = window->findChild<QListWidget *>(list);
        for (int row = 0; row < widget->count(); ++row) {
            QListWidgetItem *item = widget->item(row);
            const QByteArray bytes = item->data(Qt::UserRole).toByteArray();
            if (std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())) == name)
                return item;
        }
        ADD_FAILURE() << "no row " << name << " in " << list;
        return nullptr;
    }

    std::vector<std::string> RowNames(const char *list) const
    {
        std::vector<std::string> names;
        const auto *widget = window->findChild<QListWidget *>(list);
        for (int row = 0; row < widget->count(); ++row) {
            const QByteArray bytes = widget->item(row)->data(Qt::UserRole).toByteArray();
            names.emplace_back(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::vector<std::string> CheckedRows() const
    {
        std::vector<std::string> names;
        const auto *widget = window->findChild<QListWidget *>("FormatFiles");
        for (int row = 0; row < widget->count(); ++row) {
            if (widget->item(row)->checkState() == Qt::Checked)
                names.push_back(widget->item(row)->text().toStdString());
        }
        return names;
    }

    void ClickRow(const char *list, const std::string &name)
    {
        auto *widget = Find<QListWidget>(list);
        QListWidgetItem *item = Row(list, name);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                          widget->visualItemRect(item).center());
    }

    void ClickCheckBox(const std::string &name)
    {
        auto *widget = Find<QListWidget>("FormatFiles");
        QListWidgetItem *item = Row("FormatFiles", name);
        ASSERT_NE(item, nullptr);
        QStyleOptionViewItem option;
        option.initFrom(widget);
        option.rect = widget->visualItemRect(item);
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QRect box =
            widget->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, widget);
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, box.center());
    }

    void Click(const char *button) { QTest::mouseClick(Find<QWidget>(button), Qt::LeftButton); }

    TColor PanelColor(const char *panel) const
    {
        return window->findChild<TColorPanel *>(panel)->Color();
    }

    const QImage &PagePicture() const
    {
        return window->findChild<TImage *>("Skin_Image")->Picture();
    }

    bool SaveEnabled() const
    {
        return window->findChild<QPushButton *>("Design_Save")->isEnabled();
    }

    // Picks the picture file at path by double-clicking the page's picture.
    void PickPicture(const std::string &path)
    {
        answers.pictures.push_back(QString::fromStdString(path));
        QTest::mouseDClick(Find<QWidget>("Skin_Image"), Qt::LeftButton);
    }

    std::string WriteBmp(const std::string &name, const QImage &image) const
    {
        return folder.Write(name, EncodeBmp(image));
    }

    void SaveAs(const QString &answer)
    {
        answers.names.push_back(answer);
        Click("Design_Save");
    }

    testing_support::TempFolder folder;
    DialogAnswers answers;
    int repaints = 0;
    std::unique_ptr<TSetting> window;
};

} // namespace

// Catches a moved, resized or framed window, or the title strip not cut from the skin.
TEST_F(SettingWindow, OpensCentredBorderlessWithTheTitleStripFromTheSkin)
{
    const TSetting &setting = Open();
    EXPECT_EQ(setting.size(), QSize(463, 203));
    EXPECT_TRUE(setting.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(setting.frameGeometry().center(),
              QGuiApplication::primaryScreen()->geometry().center());
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentWidget(), Find<QWidget>("Format"));
    const QImage strip = Find<TImage>("BackImage")->Picture();
    EXPECT_TRUE(SamePixels(strip, SkinBitmap.copy(SkinAtlas::BackgroundColumn)));
    const auto *tabs = Find<QTabWidget>("PageControl1");
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), "Format");
    EXPECT_EQ(tabs->tabText(1), "Design");
    EXPECT_EQ(tabs->tabText(2), "View");
    EXPECT_EQ(tabs->tabText(3), "Output");
}

// Catches the page showing the file's colours instead of those in use, a stale check box,
// or DesignChanged surviving a new opening.
TEST_F(SettingWindow, ShowingTakesTheDesignFileThenTheColoursInUse)
{
    ShowLength = true;
    Open();
    EXPECT_EQ(PanelColor("Color_Panel1"), BackColor);
    EXPECT_EQ(PanelColor("Color_Panel2"), ActiveColor);
    EXPECT_EQ(PanelColor("Color_Panel3"), NoActiveColor);
    EXPECT_TRUE(SamePixels(PagePicture(), Pattern(SkinWidth, SkinHeight)));
    EXPECT_TRUE(Find<QCheckBox>("V_Chk1")->isChecked());
    EXPECT_FALSE(DesignChanged);
    EXPECT_FALSE(SaveEnabled());
}

// Catches a letter-case-blind check, a folder or another extension listed, or a row that
// is not a file of the format folder.
TEST_F(SettingWindow, FormatPageListsResetFilesAndChecksOnlyTheExactName)
{
    folder.Write("format/GM.MID", "MThd");
    folder.Write("format/gm.mid", "MThd");
    folder.Write("format/XG.Mid", "MThd");
    folder.Write("format/notes.txt", "");
    ::mkdir((folder / "format/folder.mid").c_str(), 0700);
    Open();
    EXPECT_EQ(RowNames("FormatFiles"), (std::vector<std::string>{"GM.MID", "XG.Mid", "gm.mid"}));
    EXPECT_EQ(CheckedRows(), std::vector<std::string>{"GM.MID"});
    window.reset();

    FormatName = "Gm.Mid";
    Open();
    EXPECT_EQ(RowNames("FormatFiles").size(), 3u);
    EXPECT_TRUE(CheckedRows().empty());
}

// Catches a click that leaves two rows checked, waits for "OK", or alters the file name's
// bytes (a Shift-JIS name must come back exactly); closing keeps the choice.
TEST_F(SettingWindow, ClickingAFormatRowChoosesItAtOnce)
{
    const std::string japanese = "\x83\x65\x83\x58\x83\x67.mid"; // Shift-JIS bytes
    folder.Write("format/GM.MID", "MThd");
    folder.Write("format/XG.MID", "MThd");
    folder.Write("format/" + japanese, "MThd");
    Open();

    ClickRow("FormatFiles", "XG.MID");
    EXPECT_EQ(FormatName, "XG.MID");
    EXPECT_EQ(CheckedRows(), std::vector<std::string>{"XG.MID"});

    ClickCheckBox(japanese);
    EXPECT_EQ(FormatName, japanese);
    EXPECT_EQ(CheckedRows().size(), 1u);
    EXPECT_EQ(Row("FormatFiles", japanese)->checkState(), Qt::Checked);

    // A click on the box of the checked row leaves it checked.
    ClickCheckBox(japanese);
    EXPECT_EQ(Row("FormatFiles", japanese)->checkState(), Qt::Checked);

    window->close();
    EXPECT_EQ(FormatName, japanese);
}

// Catches "OK" not storing the boxes, closing without "OK" storing them, or the two
// boxes standing for one another.
TEST_F(SettingWindow, ViewOptionsAreStoredByOkOnly)
{
    Open();
    ShowPage("View");
    QTest::mouseClick(Find<QCheckBox>("V_Chk1"), Qt::LeftButton);
    QTest::mouseClick(Find<QCheckBox>("V_Chk2"), Qt::LeftButton);
    window->close();
    EXPECT_FALSE(ShowLength);
    EXPECT_FALSE(ShowLyrics);
    EXPECT_FALSE(window->isVisible());

    Open();
    ShowPage("View");
    EXPECT_EQ(Find<QCheckBox>("V_Chk2")->text(), "Lyrics");
    QTest::mouseClick(Find<QCheckBox>("V_Chk1"), Qt::LeftButton);
    Click("OK_Button");
    EXPECT_TRUE(ShowLength);
    EXPECT_FALSE(ShowLyrics);
    EXPECT_FALSE(window->isVisible());

    Open();
    ShowPage("View");
    EXPECT_TRUE(Find<QCheckBox>("V_Chk1")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("V_Chk2")->isChecked());
    QTest::mouseClick(Find<QCheckBox>("V_Chk2"), Qt::LeftButton);
    Click("OK_Button");
    EXPECT_TRUE(ShowLyrics);
    EXPECT_TRUE(ShowLength);
}

// Catches a preview that changes the program's design or DesignChanged, a picture not
// resizing the image, or a file re-read missing on a second click.
TEST_F(SettingWindow, DesignListPreviewsFilesOnThePageOnly)
{
    WriteDesignFile(folder / "skin/small.mbd", 0x00FFFFFF, 0x00777777, 0x00777778,
                    Pattern(100, 50));
    folder.Write("skin/notes.txt", "");
    Open();
    ShowPage("Design");
    EXPECT_EQ(RowNames("SkinFiles"), (std::vector<std::string>{"default.mbd", "small.mbd"}));
    EXPECT_TRUE(Find<QListWidget>("SkinFiles")->selectedItems().isEmpty());

    ClickRow("SkinFiles", "small.mbd");
    EXPECT_EQ(PanelColor("Color_Panel1"), 0x00FFFFFFu);
    EXPECT_EQ(PanelColor("Color_Panel2"), 0x00777777u);
    EXPECT_EQ(Find<QWidget>("Skin_Image")->size(), QSize(100, 50));
    EXPECT_EQ(BackColor, 0x00AA0000u);
    EXPECT_FALSE(DesignChanged);
    EXPECT_FALSE(SaveEnabled());

    // The contrast rule on the panels' captions.
    const auto captionOf = [this](const char *panel) {
        return Find<QWidget>(panel)->palette().color(QPalette::WindowText);
    };
    EXPECT_EQ(captionOf("Color_Panel1"), QColor(Qt::black));
    EXPECT_EQ(captionOf("Color_Panel2"), QColor(Qt::white));
    EXPECT_EQ(captionOf("Color_Panel3"), QColor(Qt::black));

    // Clicking the selected row again reads its file again.
    answers.colors.push_back(QColor(1, 2, 3));
    QTest::mouseClick(Find<QWidget>("Color_Panel1"), Qt::LeftButton);
    ClickRow("SkinFiles", "small.mbd");
    EXPECT_EQ(PanelColor("Color_Panel1"), 0x00FFFFFFu);
}

// Catches a colour pick that does not enable saving while the picture is not a skin, a
// cancelled pick that changes something, or such a design failing to save.
TEST_F(SettingWindow, PickedColourMakesAnyPictureSavable)
{
    WriteDesignFile(folder / "skin/small.mbd", 1, 2, 3, Pattern(100, 50));
    Open();
    ShowPage("Design");
    ClickRow("SkinFiles", "small.mbd");

    answers.colors.push_back(std::nullopt);
    QTest::mouseClick(Find<QWidget>("Color_Panel2"), Qt::LeftButton);
    EXPECT_EQ(answers.colorsOffered.back(), ToQColor(2));
    EXPECT_EQ(PanelColor("Color_Panel2"), 2u);
    EXPECT_FALSE(DesignChanged);
    EXPECT_FALSE(SaveEnabled());

    answers.colors.push_back(QColor(0x12, 0x34, 0x56));
    QTest::mouseClick(Find<QWidget>("Color_Panel2"), Qt::LeftButton);
    EXPECT_EQ(PanelColor("Color_Panel2"), 0x00563412u);
    EXPECT_TRUE(DesignChanged);
    ASSERT_TRUE(SaveEnabled());

    SaveAs("wide");
    const StoredDesign saved = ReadStored(folder / "skin/wide.mbd");
    EXPECT_EQ(saved.colors[dcBack], 1u);
    EXPECT_EQ(saved.colors[dcActive], 0x00563412u);
    EXPECT_TRUE(SamePixels(saved.picture, Pattern(100, 50)));
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(DesignChanged) << "saving leaves the flag";
    EXPECT_EQ(RowNames("SkinFiles"),
              (std::vector<std::string>{"default.mbd", "small.mbd", "wide.mbd"}));
}

// Catches a picture of the wrong size being savable or applied, or a proper one not.
TEST_F(SettingWindow, PictureSizeDecidesSavingAndChange)
{
    Open();
    ShowPage("Design");
    PickPicture(WriteBmp("wide.bmp", Pattern(148, 63)));
    EXPECT_EQ(Find<QWidget>("Skin_Image")->size(), QSize(148, 63));
    EXPECT_FALSE(DesignChanged);
    EXPECT_FALSE(SaveEnabled());

    const QImage skinBefore = SkinBitmap;
    Click("SkinChange");
    EXPECT_EQ(repaints, 0);
    EXPECT_EQ(BackColor, 0x00AA0000u);
    EXPECT_TRUE(SamePixels(SkinBitmap, skinBefore));

    const QImage proper = Pattern(SkinWidth, SkinHeight, 99);
    PickPicture(WriteBmp("PROPER.BMP", proper));
    EXPECT_TRUE(DesignChanged);
    EXPECT_TRUE(SaveEnabled());
    EXPECT_TRUE(SamePixels(PagePicture(), proper));
}

// Catches a picture the toolkit cannot load crashing, being half applied, or changing
// the savable state; the failure must be reported.
TEST_F(SettingWindow, UnloadablePictureIsReportedAndChangesNothing)
{
    Open();
    ShowPage("Design");
    answers.colors.push_back(QColor(9, 9, 9));
    QTest::mouseClick(Find<QWidget>("Color_Panel1"), Qt::LeftButton);
    ASSERT_TRUE(SaveEnabled());

    const std::vector<std::string> bad = {folder.Write("junk.bmp", "BM not really a bitmap"),
                                          WriteBmp("skin.png", Pattern(SkinWidth, SkinHeight)),
                                          folder / "missing.bmp"};
    for (const std::string &path : bad) {
        PickPicture(path);
        ASSERT_EQ(answers.reports.size(), 1u) << path;
        EXPECT_NE(answers.reports.front().find(path), std::string::npos) << answers.reports[0];
        answers.reports.clear();
        EXPECT_TRUE(DesignChanged);
        EXPECT_TRUE(SaveEnabled());
        EXPECT_TRUE(SamePixels(PagePicture(), Pattern(SkinWidth, SkinHeight)));
    }

    // A cancelled dialog changes nothing either.
    answers.pictures.push_back(std::nullopt);
    QTest::mouseDClick(Find<QWidget>("Skin_Image"), Qt::LeftButton);
    EXPECT_TRUE(SaveEnabled());
}

// Catches "Change" not replacing the design before the player repaints, sharing the
// page's picture, touching the save state, or naming a design when none is selected.
TEST_F(SettingWindow, ChangeAppliesThePageAndNamesOnlyASelectedFile)
{
    WriteDesignFile(folder / "skin/night.mbd", 0x00010203, 0x00040506, 0x00070809,
                    Pattern(SkinWidth, SkinHeight, 50));
    TColor seenByRepaint = 0;
    Open([&] {
        ++repaints;
        seenByRepaint = BackColor;
    });
    ShowPage("Design");

    answers.colors.push_back(QColor(0x20, 0x40, 0x60));
    QTest::mouseClick(Find<QWidget>("Color_Panel1"), Qt::LeftButton);
    Click("SkinChange");
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(seenByRepaint, 0x00604020u);
    EXPECT_EQ(BackColor, 0x00604020u);
    EXPECT_EQ(ActiveColor, 0x0000BB00u);
    EXPECT_TRUE(SamePixels(SkinBitmap, Pattern(SkinWidth, SkinHeight)));
    EXPECT_NE(SkinBitmap.cacheKey(), PagePicture().cacheKey());
    EXPECT_EQ(SkinName, "default.mbd");
    EXPECT_TRUE(DesignChanged);
    EXPECT_TRUE(SaveEnabled());

    ClickRow("SkinFiles", "night.mbd");
    Click("SkinChange");
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(SkinName, "night.mbd");
    EXPECT_EQ(NoActiveColor, 0x00070809u);
    EXPECT_TRUE(SamePixels(SkinBitmap, Pattern(SkinWidth, SkinHeight, 50)));
}

// Catches an extension kept or doubled in the saved name, or a save that does not ask
// before replacing a file of the same name.
TEST_F(SettingWindow, SaveNamesEndInMbdWhateverTheAnswer)
{
    Open();
    ShowPage("Design");
    int expectedQuestions = 0;
    for (const char *answer : {"night", "night.txt", "night.mbd"}) {
        answers.colors.push_back(QColor(0x11, 0x22, 0x33));
        QTest::mouseClick(Find<QWidget>("Color_Panel3"), Qt::LeftButton);
        if (expectedQuestions > 0)
            answers.overwrites.push_back(true);
        SaveAs(answer);
        EXPECT_EQ(answers.overwriteQuestions, expectedQuestions) << answer;
        ++expectedQuestions;
        EXPECT_FALSE(SaveEnabled()) << answer;
    }
    const std::vector<platform::FolderEntry> files = platform::ListFolder(folder / "skin");
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(ReadStored(folder / "skin/night.mbd").colors[dcNoActive], 0x00332211u);
}

// Catches "No" to the overwrite question writing anyway or leaving "Design Save" enabled,
// and a cancelled name box writing anything.
TEST_F(SettingWindow, DecliningOrCancellingWritesNothingAndDisablesSaving)
{
    WriteDesignFile(folder / "skin/night.mbd", 5, 6, 7, QImage());
    const std::string before = platform::ReadFile(folder / "skin/night.mbd");
    Open();
    ShowPage("Design");

    answers.colors.push_back(QColor(1, 1, 1));
    QTest::mouseClick(Find<QWidget>("Color_Panel1"), Qt::LeftButton);
    answers.overwrites.push_back(false);
    SaveAs("night");
    EXPECT_EQ(answers.overwriteQuestions, 1);
    EXPECT_EQ(platform::ReadFile(folder / "skin/night.mbd"), before);
    EXPECT_FALSE(SaveEnabled());

    answers.colors.push_back(QColor(1, 1, 1));
    QTest::mouseClick(Find<QWidget>("Color_Panel1"), Qt::LeftButton);
    answers.names.push_back(std::nullopt);
    Click("Design_Save");
    EXPECT_FALSE(SaveEnabled());

    answers.colors.push_back(QColor(1, 1, 1));
    QTest::mouseClick(Find<QWidget>("Color_Panel1"), Qt::LeftButton);
    SaveAs("");
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(platform::ListFolder(folder / "skin").size(), 2u);
}

// Catches a name leaving the skin folder, or a failed save being taken for a success and
// the edit made unsavable.
TEST_F(SettingWindow, FailedSaveIsReportedAndStaysRetryable)
{
    Open();
    ShowPage("Design");
    answers.colors.push_back(QColor(1, 1, 1));
    QTest::mouseClick(Find<QWidget>("Color_Panel1"), Qt::LeftButton);

    SaveAs("../outside");
    ASSERT_EQ(answers.reports.size(), 1u);
    EXPECT_TRUE(SaveEnabled());
    EXPECT_FALSE(platform::FileExists(folder / "outside.mbd"));

    // A folder in the way of the file: the write fails, even for root.
    ::mkdir((folder / "skin/locked.mbd").c_str(), 0700);
    SaveAs("locked");
    ASSERT_EQ(answers.reports.size(), 2u);
    EXPECT_NE(answers.reports[1].find("locked.mbd"), std::string::npos) << answers.reports[1];
    EXPECT_TRUE(SaveEnabled());
    answers.reports.clear();

    SaveAs("retry");
    EXPECT_TRUE(platform::FileExists(folder / "skin/retry.mbd"));
    EXPECT_FALSE(SaveEnabled());
}

// Catches an unreadable current design keeping the window from opening, or leaving the
// View page unchecked so that "OK" would switch the length display off.
TEST_F(SettingWindow, UnreadableCurrentDesignIsReportedAndTheWindowStaysUsable)
{
    ShowLength = true;
    for (const std::string &contents :
         {std::string("Sono Lux Design File") + std::string(12, '\0') + "BMxxxxxxxxxxxxxx",
          std::string("short")}) {
        folder.Write("skin/default.mbd", contents);
        Open();
        ASSERT_EQ(answers.reports.size(), 1u);
        EXPECT_NE(answers.reports.front().find("default.mbd"), std::string::npos);
        answers.reports.clear();
        EXPECT_TRUE(Find<QCheckBox>("V_Chk1")->isChecked());
        EXPECT_EQ(PanelColor("Color_Panel1"), BackColor);
        Click("OK_Button");
        EXPECT_TRUE(ShowLength);
    }
    SkinName = "missing.mbd";
    Open();
    EXPECT_EQ(answers.reports.size(), 1u);
    answers.reports.clear();
}

// Catches a missing folder going unnoticed, being reported at every page change, or
// leaving stale rows.
TEST_F(SettingWindow, MissingFoldersAreReportedOnceAndLeaveEmptyLists)
{
    ::rmdir((folder / "format").c_str());
    ::unlink((folder / "skin/default.mbd").c_str());
    ::rmdir((folder / "skin").c_str());
    SkinName = "default.mbd";
    Open();
    ASSERT_EQ(answers.reports.size(), 2u); // the current design, then the format folder
    EXPECT_NE(answers.reports[1].find(folder / "format/"), std::string::npos);
    EXPECT_EQ(Find<QListWidget>("FormatFiles")->count(), 0);

    ShowPage("Design");
    ASSERT_EQ(answers.reports.size(), 3u);
    EXPECT_NE(answers.reports[2].find(folder / "skin/"), std::string::npos);
    EXPECT_EQ(Find<QListWidget>("SkinFiles")->count(), 0);

    ShowPage("Format");
    ShowPage("Design");
    EXPECT_EQ(answers.reports.size(), 3u);
    answers.reports.clear();

    Click("OK_Button");
    EXPECT_FALSE(window->isVisible());
}

// Catches an installed copy offering only the user's files (or only the shipped ones),
// listing a replaced design twice, or saving into the program folder.
TEST_F(SettingWindow, InstalledCopyOffersShippedAndOwnFilesAndSavesToTheUsersFolder)
{
    testing_support::TempFolder user;
    folder.Write("format/GM.MID", "MThd");
    user.Write("format/SC88.MID", "MThd");
    MakeFolderPath(user / "skin");
    WriteDesignFile(user / "skin/default.mbd", 0x00AAAAAA, 0x00BBBBBB, 0x00CCCCCC,
                    Pattern(SkinWidth, SkinHeight, 9));
    WriteDesignFile(folder / "skin/classic.mbd", 1, 2, 3, Pattern(SkinWidth, SkinHeight));
    DataFolder = user.Path() + "/";
    ConfigFolder = user.Path() + "/";

    Open();
    EXPECT_EQ(RowNames("FormatFiles"), (std::vector<std::string>{"GM.MID", "SC88.MID"}));
    ClickRow("FormatFiles", "SC88.MID");
    EXPECT_EQ(FormatName, "SC88.MID");

    ShowPage("Design");
    EXPECT_EQ(RowNames("SkinFiles"), (std::vector<std::string>{"classic.mbd", "default.mbd"}));
    ClickRow("SkinFiles", "default.mbd");
    EXPECT_EQ(PanelColor("Color_Panel1"), 0x00AAAAAAu) << "the user's own design is read";
    ClickRow("SkinFiles", "classic.mbd");
    EXPECT_EQ(PanelColor("Color_Panel1"), 1u);

    answers.colors.push_back(QColor(0x11, 0x22, 0x33));
    QTest::mouseClick(Find<QWidget>("Color_Panel3"), Qt::LeftButton);
    SaveAs("classic");
    EXPECT_EQ(answers.overwriteQuestions, 0) << "the shipped design is not replaced";
    EXPECT_EQ(ReadStored(user / "skin/classic.mbd").colors[dcNoActive], 0x00332211u);
    EXPECT_EQ(ReadStored(folder / "skin/classic.mbd").colors[dcNoActive], 3u);
    EXPECT_EQ(RowNames("SkinFiles"), (std::vector<std::string>{"classic.mbd", "default.mbd"}));
    SetProgramFolder(folder.Path() + "/");
}
