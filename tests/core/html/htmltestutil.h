#pragma once
// Helpers of the HTML engine tests: card lists by their texts, template
// files written as card files, output trees read back.

#include "core/cards/cardlist.h"
#include "core/cards/cardstore.h"
#include "core/cards/nativeformat.h"
#include "core/common/win31j.h"

#include "support/sandbox.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

struct CardTexts {
    QString title = {}, remarks = {}, content = {};
};

// A card list (the main list of a document) holding these cards.
inline std::unique_ptr<CardList> listOf(const QList<CardTexts> &texts)
{
    auto list = std::make_unique<CardList>();
    QList<Card> cards;
    int n = 0;
    for (const CardTexts &t : texts)
        cards.append(Card{QStringLiteral("K%1").arg(n++), t.title, t.remarks, t.content, 1});
    list->store().reset(cards);
    return list;
}

// A fresh folder in the sandbox.
inline QString freshFolder(const QString &name)
{
    static int n = 0;
    const QString path = Sandbox::root() + QStringLiteral("/html%1-").arg(++n) + name;
    QDir().mkpath(path);
    return path;
}

struct Section {
    QString title = {}, body = {}, remarks = {};
};

// Writes a template card file with the program's own writer.
inline QString writeTemplate(const QString &path, const QList<Section> &sections)
{
    CardStore store;
    QList<Card> cards;
    int n = 0;
    for (const Section &s : sections)
        cards.append(Card{QStringLiteral("S%1").arg(n++), s.title, s.remarks, s.body, 1});
    store.reset(cards);
    EXPECT_EQ(WriteNativeFile(path, store, WriteOptions{}).status, WriteStatus::Ok);
    return path;
}

// Every file below root: relative path -> bytes.
inline QMap<QString, QByteArray> treeOf(const QString &root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    const QDir base(root);
    while (it.hasNext()) {
        const QString path = it.next();
        tree.insert(base.relativeFilePath(path), Sandbox::readBytes(path));
    }
    return tree;
}

inline QString text(const QByteArray &sjisBytes)
{
    return Win31J::decode(sjisBytes);
}
