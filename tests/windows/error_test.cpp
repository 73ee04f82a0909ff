#include "windows/error.h"

#include "modal.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

QPlainTextEdit *ErrorMsg(const TMsgWindow &window)
{
    return window.findChild<QPlainTextEdit *>("ErrorMsg");
}

} // namespace

// Catches report lines that are wrapped, merged, or shown as raw Shift-JIS bytes.
TEST(MsgWindow, EachReportLineStaysOneLine)
{
    TMsgWindow window;
    const std::string longName(200, 'x');
    // "テスト.mid" in Shift-JIS, then a member with its archive, as the list loader reports.
    window.AddText(longName + ".mid\r\n\x83\x65\x83\x58\x83\x67.mid\t[/music/a.lzh]\r\n");
    window.AddText("lf\nalone\rlast");
    window.show();
    QApplication::processEvents();

    const QPlainTextEdit *text = ErrorMsg(window);
    EXPECT_EQ(text->toPlainText(), QString::fromStdString(longName) +
                                       QString::fromUtf8(".mid\nテスト.mid\t[/music/a.lzh]\n"
                                                         "lf\nalone\nlast"));
    EXPECT_EQ(text->document()->blockCount(), 5);
    EXPECT_EQ(text->document()->firstBlock().layout()->lineCount(), 1);
    EXPECT_TRUE(text->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(text->isReadOnly());
}

// Catches an empty report line (a list entry with no name) vanishing from the window.
TEST(MsgWindow, EmptyReportLineIsKept)
{
    TMsgWindow window;
    window.AddText("\r\n");
    window.AddText("a.mid\r\n");
    EXPECT_EQ(ErrorMsg(window)->toPlainText(), QString("\na.mid"));
}

// Catches OK not closing the window, or the one-call report blocking or losing its caption.
TEST(MsgWindow, OkCloses)
{
    TMsgWindow window;
    window.show();
    QTest::mouseClick(window.findChild<QPushButton *>("Button1"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());

    QString caption;
    WhenOpen([&caption](QWidget *open) {
        caption = open->windowTitle();
        QTest::mouseClick(open->findChild<QPushButton *>("Button1"), Qt::LeftButton);
    });
    TMsgWindow::Report(nullptr, "File not found! Once again, please confirm. ", "a.mid\r\n");
    EXPECT_EQ(caption, QString("File not found! Once again, please confirm. "));
}
