#pragma once
// Fetches the maker's pages for the wizard's embedded browser. A page that
// cannot be reached in time (no network, a bad address) comes back as a
// local page saying so.

#include <QObject>
#include <QString>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

class PageSource
{
public:
    virtual ~PageSource() = default;
    // Calls done with the HTML to show, at once or later; a request made
    // after it replaces an unanswered one, whose answer is then dropped.
    virtual void fetch(const QString &address, std::function<void(const QString &html)> done) = 0;
    virtual void cancel() = 0;
};

class NetworkPageSource : public QObject, public PageSource
{
    Q_OBJECT
public:
    explicit NetworkPageSource(QObject *parent = nullptr);
    ~NetworkPageSource() override;
    void fetch(const QString &address, std::function<void(const QString &html)> done) override;
    void cancel() override;

    static constexpr int TimeoutMs = 8000;

private:
    QNetworkAccessManager *m_network;
    QNetworkReply *m_reply = nullptr;
};
