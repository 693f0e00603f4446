#!/usr/bin/env python3
"""Writes the card-file fixtures of this folder from Python's cp932 codec, so
that the writers' expected bytes come from outside the program.
Run: python3 -B make_fixtures.py (from this folder)."""

SEP = "-" * 78
END = "=" * 78
TODAY = "2024/02/29"
NOW = "2024/02/29(09:08:07)［題］"

# The sample cards the writer tests build in memory (title, remarks, content).
CARDS = [
    ("2001/05/03：仕事＠会議", "本社", "議題：予算\r\n出席：5名\r\n"),
    ("メモ", "", "x"),
    ("空", "", ""),
    ('He said "hi" ok', "r", "line1\r\n\r\n"),
]


def sjis(text):
    return text.encode("cp932")


def dated(title, prefix):
    return title if title[4:5] == "/" and title[7:8] == "/" and title[10:11] == "：" else prefix + "：" + title


def native(add_date):
    out = b""
    for title, remarks, content in CARDS:
        t = dated(title, TODAY) if add_date else title
        out += sjis(t) + b"\x01" + sjis(remarks) + b"\x01" + sjis(content) + b"\x01"
    return out


def csv(add_date):
    out = ""
    for title, remarks, content in CARDS:
        t = dated(title, TODAY) if add_date else title
        line = '"%s","%s",' % (t, remarks)
        if not content.endswith("\r\n"):
            content += "\r\n"
        lines = content.split("\r\n")[:-1]
        for l in lines[:-1]:
            line += '"%s",' % l
        if lines[-1]:
            line += '"%s"' % lines[-1]
        out += line + "\r\n"
    return sjis(out)


def text(prefix):
    out = ""
    for title, remarks, content in CARDS:
        out += "@\r\n" + dated(title, prefix) + (" - " + remarks if remarks else "") + "\r\n" + SEP + "\r\n"
        if content:
            out += (content[:-2] if content.endswith("\r\n") else content) + "\r\n"
        out += END + "\r\n"
    return sjis(out)


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


write("sample.qlw", native(False))
write("sample_dated.qlw", native(True))
write("sample.csv", csv(False))
write("sample_dated.csv", csv(True))
write("sample.qlt", text(TODAY))
write("sample.stk", text(NOW))

# Broken inputs.
# A lead byte at the very end, and one in front of a field mark.
write("broken_lead.qlw", sjis("題名") + b"\x01\x82\x01" + sjis("内容") + b"\x01\x88")
# Bytes that are no character: a lead byte before a comma, an unassigned pair.
write("broken_bytes.csv", b'"a\x82","b"\r\n"\x85\x40","c"\r\n')
# A record cut off inside its content, after one complete record.
write("cut_record.qlt", sjis("@\r\n2001/05/03：一\r\n" + SEP + "\r\n本文\r\n" + END + "\r\n"
                             "@\r\n2001/05/04：二 - 備考\r\n" + SEP + "\r\n途中まで\r\nここも"))
