#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

QString FirstInstalled(const QStringList &families)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString &family : families)
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    return QString();
}

} // namespace

QFont UiFont(int pixelHeight)
{
    QFont font;
    const QString family =
        FirstInstalled({QString::fromUtf8("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                        QStringLiteral("Noto Sans CJK JP")});
    if (family.isEmpty())
        font.setStyleHint(QFont::SansSerif);
    else
        font.setFamily(family);
    font.setPixelSize(pixelHeight);
    return font;
}

QFont SmallFont(int pixelHeight)
{
    QFont font;
    const QString family =
        FirstInstalled({QStringLiteral("Small Fonts"), QStringLiteral("DejaVu Sans"),
                        QStringLiteral("Noto Sans")});
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPixelSize(pixelHeight);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}
