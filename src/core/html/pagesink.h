#pragma once
// Where the page builders put their pages: every file of a run is written
// here, atomically, so a page on disk is always whole, even after a cancel
// or a failure. The sink counts the pages, reports progress after each one
// and refuses further pages once the progress callback asked to stop.

#include "core/common/atomicfile.h"
#include "core/html/htmltext.h"

#include <QList>
#include <QString>

#include <functional>

class PageRecord;

struct PageFailure {
    QString path;
    QString error;
};

class PageSink
{
public:
    // Called after every page with the pages done and the pages to write;
    // false stops the run before the next page. A run calls it with 0 of 0
    // now and then while it collects the cards, before any page is counted.
    using Progress = std::function<bool(qsizetype done, qsizetype total)>;

    enum class Rule {
        Always,    // written on every run
        IfChanged, // left alone, with its file time, when the file holds the same bytes
    };
    enum class Result { Written, Unchanged, Failed, Cancelled };

    explicit PageSink(qsizetype total = 0, Progress progress = {});

    // Writes text and one CR LF as path.
    Result put(const QString &path, const QString &text, HtmlText::Encoding encoding, Rule rule,
               HtmlText::Fallback fallback = HtmlText::Fallback::CharacterReference);

    // The same for a page given in pieces, written one after the other.
    Result put(const QString &path, const QList<QStringView> &pieces, HtmlText::Encoding encoding, Rule rule,
               HtmlText::Fallback fallback = HtmlText::Fallback::CharacterReference);

    // The same for a page already encoded; bytes gets the CR LF.
    Result putEncoded(const QString &path, QByteArray &bytes, Rule rule);

    // A page too large to hold at once, written on every run: open() gives
    // Written when file is ready to take the bytes (appended by the caller in
    // pieces), finish() adds the CR LF and puts the file in place. A file
    // left unfinished is discarded and nothing is counted.
    Result open(const QString &path, AtomicFile::QuickFile &file);
    Result finish(const QString &path, AtomicFile::QuickFile &file);

    // The record of the last run's pages: pages of Rule::IfChanged it vouches
    // for are left alone unread, and every page of that rule is noted in it.
    void setRecord(PageRecord *record) { m_record = record; }

    void setTotal(qsizetype total) { m_total = total; }
    qsizetype total() const { return m_total; }
    qsizetype written() const { return m_written; }
    qsizetype unchanged() const { return m_unchanged; }
    qsizetype done() const { return m_written + m_unchanged; }
    bool cancelled() const { return m_cancelled; }
    const QList<PageFailure> &failures() const { return m_failures; }
    // The description of the last failure.
    QString lastError() const { return m_failures.isEmpty() ? QString() : m_failures.last().error; }

private:
    void reportProgress();

    qsizetype m_total = 0;
    Progress m_progress;
    qsizetype m_written = 0;
    qsizetype m_unchanged = 0;
    bool m_cancelled = false;
    QList<PageFailure> m_failures;
    QByteArray m_bytes; // reused for every page
    PageRecord *m_record = nullptr;
};
