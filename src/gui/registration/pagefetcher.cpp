#include "gui/registration/pagefetcher.h"

#include "core/registration/regwizard.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>

NetworkPageSource::NetworkPageSource(QObject *parent) : QObject(parent), m_network(new QNetworkAccessManager(this)) {}

NetworkPageSource::~NetworkPageSource()
{
    cancel();
}

void NetworkPageSource::cancel()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void NetworkPageSource::fetch(const QString &address, std::function<void(const QString &html)> done)
{
    cancel();
    QNetworkRequest request{QUrl(address)};
    request.setTransferTimeout(TimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply, address, done] {
        if (reply != m_reply)
            return;
        m_reply = nullptr;
        reply->deleteLater();
        const QString type = reply->header(QNetworkRequest::ContentTypeHeader).toString().toLower();
        if (reply->error() != QNetworkReply::NoError || !type.startsWith(QStringLiteral("text/html"))) {
            done(RegWizardTexts::unreachablePage(address));
            return;
        }
        const QByteArray body = reply->readAll();
        // The charset of the header, else of the page, else UTF-8.
        QStringDecoder decoder = QStringDecoder::decoderForHtml(body);
        const qsizetype charset = type.indexOf(QStringLiteral("charset="));
        if (charset >= 0) {
            QStringDecoder named(
                type.mid(charset + 8).section(QLatin1Char(';'), 0, 0).trimmed().toLatin1().constData());
            if (named.isValid())
                decoder = std::move(named);
        }
        if (!decoder.isValid())
            decoder = QStringDecoder(QStringDecoder::Utf8);
        done(decoder.decode(body));
    });
}
