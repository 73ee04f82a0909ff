#include "view.h"

#include "ui_view.h"

#include "platform/widgets/fonts.h"
#include "settings/design.h"
#include "settings/skinatlas.h"

#include <QHeaderView>

Tview_form::Tview_form(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::Tview_form>())
{
    ui->setupUi(this);
    setFont(UiFont(12));
    ui->ListView1->setModel(&queue_);
    QHeaderView *header = ui->ListView1->header();
    header->setSectionsClickable(false);
    header->setStretchLastSection(false);
    header->resizeSection(PlayQueue::MarkerColumn, 30);
    header->resizeSection(PlayQueue::TitleColumn, 338);
    header->resizeSection(PlayQueue::FileNameColumn, 120);
}

Tview_form::~Tview_form() = default;

void Tview_form::DrawButtons()
{
    for (int j = 0; j < 4; ++j)
        ui->ViewCtrlBtn->StretchCopy(SkinAtlas::ListButtonPlace(j), SkinBitmap,
                                     SkinAtlas::ListButtonFace(j));
}

void Tview_form::ApplyColors()
{
    QPalette list = ui->ListView1->palette();
    list.setColor(QPalette::Base, ToQColor(BackColor));
    list.setColor(QPalette::Window, ToQColor(BackColor));
    list.setColor(QPalette::Text, ToQColor(ActiveColor));
    ui->ListView1->setPalette(list);

    QPalette strip = ui->ControlPanel->palette();
    strip.setColor(QPalette::Window, ToQColor(BackColor));
    strip.setColor(QPalette::WindowText, ToQColor(ActiveColor));
    ui->ControlPanel->setPalette(strip);

    ui->BackImage->StretchCopy(ui->BackImage->rect(), SkinBitmap, SkinAtlas::BackgroundColumn);
}
