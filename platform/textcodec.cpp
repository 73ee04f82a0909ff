#include "textcodec.h"

#include "mbcs.h"

#include "base/textbytes.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

bool IsValidUtf8(const std::string &bytes)
{
    return base::IsValidUtf8(bytes.data(), bytes.size());
}

QString DecodeText(const std::string &bytes)
{
    const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(data);
    QStringDecoder decoder("windows-31j");
    if (!decoder.isValid())
        decoder = QStringDecoder("Shift_JIS");
    return decoder.decode(data);
}

std::string EncodeText(const QString &text)
{
    if (CodePage() != cpShiftJis)
        return text.toUtf8().toStdString();
    QStringEncoder encoder("windows-31j");
    if (!encoder.isValid())
        encoder = QStringEncoder("Shift_JIS");
    const QByteArray data = encoder.encode(text);
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

std::string EncodeFileName(const QString &path)
{
    if (CodePage() == cpShiftJis)
        return EncodeText(path);
    const QByteArray data = QFile::encodeName(path);
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

} // namespace platform
