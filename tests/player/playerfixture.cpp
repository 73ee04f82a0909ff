#include "playerfixture.h"

#include "core/corefixture.h"

#include "ui_main.h"

#include "app/design.h"
#include "platform/dynlib.h"
#include "platform/files.h"
#include "support/smfbuilder.h"

#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <filesystem>
#include <sys/stat.h>

namespace testing_support {
namespace {

const std::string Dist = SONOLUX_DIST_DIR;

void CopyFromDist(const TempFolder &program, const std::string &relative)
{
    std::filesystem::create_directories(std::filesystem::path(program / relative).parent_path());
    std::filesystem::copy_file(Dist + "/" + relative, program / relative,
                               std::filesystem::copy_options::overwrite_existing);
}

} // namespace

void PlayerTest::SetUp()
{
    ::chmod(runtime_.Path().c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
    platform::SetLibrarySearchFolder(Dist);
    CopyFromDist(program_, "format/GM.MID");
    CopyFromDist(program_, "skin/default.mbd");

    clock_ = std::make_shared<mci::VirtualClock>();
    output_ = std::make_shared<mci::SilentOutput>(clock_);
    bar_ = std::make_unique<TMidi_main>(std::make_unique<mci::TMediaPlayer>(output_));
    SetProgramFolder(program_.Path() + "/");
    LibraryPresent.fill(false); // each test says which outside libraries it wants
    view_ = std::make_unique<Tview_form>();
    bar_->SetViewForm(view_.get());
    bar_->show();
}

void PlayerTest::TearDown()
{
    bar_->Timer1.stop();
    bar_->TitleTimer.stop();
    bar_.reset();
    view_.reset();
    platform::SetLibrarySearchFolder("");
    LibraryPresent.fill(false);
    FormatName = "GM.MID";
    SkinName = "default.mbd";
    ShowLength = false;
    ShowLyrics = false;
}

std::string PlayerTest::Song(const std::string &name, std::uint32_t lengthMs,
                             const std::string &title)
{
    return program_.Write(name, MakeSmf(lengthMs, title));
}

void PlayerTest::Enqueue(const std::string &path, const std::string &title)
{
    EnqueueSong(view_->Queue(), path, title);
}

void PlayerTest::Advance(std::int64_t ms)
{
    clock_->Advance(std::chrono::milliseconds(ms));
}

void PlayerTest::AnswerNextModal()
{
    QTimer::singleShot(0, [this] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            lastModalText_ = box->text();
            box->accept();
        } else if (QWidget *modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
}

QImage PlayerTest::IconShown() const
{
    return bar_->Form()->TimeDiaplay->Canvas().copy(SkinAtlas::IconPlace);
}

QImage PlayerTest::IconPicture(const QRect &source) const
{
    QImage picture(SkinAtlas::IconPlace.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRect(QPoint(0, 0), SkinAtlas::IconPlace.size()), SkinBitmap, source);
    return picture;
}

int PlayerTest::ResetsSent()
{
    return CountResets(*output_);
}

} // namespace testing_support
