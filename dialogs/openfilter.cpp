#include "openfilter.h"

#include "platform/textcodec.h"

QStringList NameFilters(const std::string &filter)
{
    const QStringList parts = platform::DecodeText(filter).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &pattern : parts.at(i + 1).split(QLatin1Char(';'))) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty())
                patterns.append(trimmed);
        }
        if (!patterns.isEmpty())
            result.append(parts.at(i).trimmed() + QStringLiteral(" (") +
                          patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return result;
}
