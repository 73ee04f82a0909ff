#include "mprisroot.h"

#include "mprisservice.h"

TMprisRootAdaptor::TMprisRootAdaptor(TMprisService *service)
    : QDBusAbstractAdaptor(service)
    , service_(*service)
{
}

QString TMprisRootAdaptor::Identity() const
{
    return QStringLiteral("Sono Lux");
}

QString TMprisRootAdaptor::DesktopEntry() const
{
    return QStringLiteral("sonolux");
}

QStringList TMprisRootAdaptor::SupportedUriSchemes() const
{
    return {QStringLiteral("file")};
}

// The song files and the archives the bar takes in (as the desktop entry lists them).
QStringList TMprisRootAdaptor::SupportedMimeTypes() const
{
    return {
        QStringLiteral("audio/midi"),
        QStringLiteral("audio/x-midi"),
        QStringLiteral("audio/x-recomposer"),
        QStringLiteral("application/x-lha"),
        QStringLiteral("application/x-lzh-compressed"),
        QStringLiteral("application/zip"),
        QStringLiteral("application/vnd.ms-cab-compressed"),
        QStringLiteral("application/vnd.rar"),
        QStringLiteral("application/x-rar"),
        QStringLiteral("application/x-tar"),
        QStringLiteral("application/x-arj"),
    };
}

void TMprisRootAdaptor::Raise()
{
    service_.Raise();
}

void TMprisRootAdaptor::Quit()
{
    service_.Quit();
}
