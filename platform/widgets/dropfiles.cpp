#include "dropfiles.h"

#include "platform/textcodec.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

const QString UriListType = QStringLiteral("text/uri-list");

// The path of a "file://" URI, percent-decoded to raw bytes; empty for other URIs.
std::string PathOfFileUri(const QByteArray &uri)
{
    static const QByteArray scheme("file://");
    if (!uri.startsWith(scheme))
        return std::string();
    QByteArray rest = uri.mid(scheme.size());
    const qsizetype slash = rest.indexOf('/');
    if (slash < 0)
        return std::string();
    const QByteArray host = rest.left(slash);
    if (!host.isEmpty() && host != "localhost")
        return std::string();
    const QByteArray path = QByteArray::fromPercentEncoding(rest.mid(slash));
    return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}

} // namespace

bool HasDroppedFiles(const QMimeData *data)
{
    return !DroppedFilePaths(data).empty();
}

std::vector<std::string> DroppedFilePaths(const QMimeData *data)
{
    std::vector<std::string> paths;
    if (data == nullptr)
        return paths;
    if (data->hasFormat(UriListType)) {
        for (QByteArray line : data->data(UriListType).split('\n')) {
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            std::string path = PathOfFileUri(line);
            if (!path.empty())
                paths.push_back(std::move(path));
        }
        return paths;
    }
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            paths.push_back(platform::EncodeFileName(url.toLocalFile()));
    return paths;
}

bool AcceptFileDrag(QDragMoveEvent *event)
{
    if (!(event->possibleActions() & Qt::CopyAction) || !HasDroppedFiles(event->mimeData()))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

std::vector<std::string> TakeFileDrop(QDropEvent *event)
{
    std::vector<std::string> paths = DroppedFilePaths(event->mimeData());
    if (!paths.empty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
    return paths;
}
