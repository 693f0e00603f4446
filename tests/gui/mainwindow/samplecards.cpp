#include "samplecards.h"

namespace SampleCards {

namespace {

struct Card {
    const char16_t *title;
    const char16_t *remarks;
    const char16_t *content;
    int icon;
};

const Card cards[] = {
    {u"2001/05/03：旅行＠京都", u"http://www.kyoto.example/", u"清水寺、金閣寺、嵐山を回る。\n新幹線は朝7時発。", 1},
    {u"2001/05/06：旅行＠奈良", u"", u"東大寺の大仏を見る。\n鹿せんべいを忘れずに。", 1},
    {u"仕事＠会議メモ", u"第3会議室", u"議題：来期の予算\n・広告費の見直し\n・新製品の発売時期", 2},
    {u"仕事＠週報", u"毎週金曜提出", u"今週の進捗をまとめる。", 1},
    {u"料理＠肉じゃが", u"4人分", u"じゃがいも 4個\n牛肉 200g\n玉ねぎ 1個\nしょうゆ・みりん・砂糖", 1},
    {u"料理＠味噌汁", u"", u"だしは昆布とかつお節。\n味噌は火を止めてから溶く。", 1},
    {u"読書メモ", u"吾輩は猫である", u"吾輩は猫である。名前はまだ無い。", 1},
    {u"買い物リスト", u"駅前のスーパー", u"牛乳、卵、食パン、りんご", 2},
    {u"電話番号", u"", u"田中さん 03-1234-5678\n佐藤さん 06-8765-4321", 1},
    {u"2001/06/01：誕生日", u"母", u"花束を贈る。", 1},
    {u"パソコン＠設定", u"メールサーバー", u"受信 pop.example.jp\n送信 smtp.example.jp", 1},
    {u"AUTOOPEN", u"起動時に開くカード", u"今日の予定を確認する。", 1},
};

QStandardItemModel *emptyModel(QObject *parent)
{
    auto *model = new QStandardItemModel(0, 3, parent);
    model->setHorizontalHeaderLabels({QStringLiteral("題名"), QStringLiteral("備考"), QStringLiteral("内容")});
    return model;
}

void append(QStandardItemModel *model, const Card &card)
{
    auto *title = new QStandardItem(QString::fromUtf16(card.title));
    title->setData(card.icon, Qt::DecorationRole);
    auto *remarks = new QStandardItem(QString::fromUtf16(card.remarks));
    auto *body = new QStandardItem(QString::fromUtf16(card.content));
    model->appendRow({title, remarks, body});
}

} // namespace

int count()
{
    return int(std::size(cards));
}

QStandardItemModel *makeModel(QObject *parent)
{
    QStandardItemModel *model = emptyModel(parent);
    for (const Card &card : cards)
        append(model, card);
    return model;
}

QStandardItemModel *makeModel(const QList<int> &rows, QObject *parent)
{
    QStandardItemModel *model = emptyModel(parent);
    for (int row : rows) {
        if (row >= 0 && row < count())
            append(model, cards[row]);
    }
    return model;
}

} // namespace SampleCards
