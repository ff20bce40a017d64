#!/usr/bin/env python3
"""Writes the code-conversion corpus beside this script.

Each class is a folder; each file is one input, compared with nkf by
KanjiConverterNkfTest. Documents come from the Japanese manual pages of a
Debian machine (lines holding Japanese only) and from texts written here.
Run again only to change the corpus; the files are kept in the repository.
"""
import base64
import gzip
import os
import quopri
import shutil
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))

MAN_PAGES = [
    "/usr/share/man/ja/man1/nkf.1.gz",
    "/usr/share/man/ja/man1/man.1.gz",
    "/usr/share/man/ja/man1/passwd.1.gz",
    "/usr/share/man/ja/man1/apropos.1.gz",
    "/usr/share/man/ja/man5/login.defs.5.gz",
    "/usr/share/man/ja/man5/apt.conf.5.gz",
]

WRITTEN = {
    "spam-dating": "【重要】会員登録のお知らせ\n出会い系で今すぐ会える女性を紹介します！\n完全無料、登録は簡単です。\n今なら３０００円分のポイントをプレゼント。\nhttp://example.jp/?id=12345\n配信停止はこちらから。\n",
    "spam-invoice": "未払いの利用料金が発生しております。\n本日中にご連絡いただけない場合、法的手続きに移行いたします。\n株式会社サンプル債権回収部　担当：山田\n電話番号：０３－１２３４－５６７８\n",
    "letter": "拝啓　新緑の候、皆様におかれましてはますますご清祥のこととお慶び申し上げます。\nさて、先日ご依頼いただきました件につき、下記のとおりご報告いたします。\n敬具\n",
    "symbols": "①②③ ㈱㈲ №℡ ≒≡∫∮ ⅰⅱⅲ Ⅰ Ⅱ 髙﨑 ～〜 ‖ ¬ ― ‐ − ￤ ＼ ￠￡\n",
    "short-kanji": "漢字",
    "short-hiragana": "こんにちは",
    "short-katakana": "メールマガジン",
    "short-mixed": "激安セール開催中！",
    "short-subject": "Re: 見積もりの件",
}

KANA = {
    "sale-short": "激安ｾｰﾙ",
    "sale": "激安ｾｰﾙ開催中！ｽｸﾞにｱｸｾｽ",
    "only-kana": "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ",
    "voiced": "ｶﾞｷﾞｸﾞｹﾞｺﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞ",
    "punct": "｡｢ﾒｰﾙ｣､･ｦｧｨｩｪｫｬｭｮｯｰﾝﾞﾟ",
    "mixed-long": "【ｷｬﾝﾍﾟｰﾝ】今だけ半額！ﾎﾟｲﾝﾄ２倍\nご登録はｺﾁﾗから。ｽﾏﾎでもOK\n",
}

# JIS X 0212: IBM extension kanji that code page 932 has, and characters it lacks.
X0212 = {
    "ibm-kanji": "纊褜鍈銈蓜俉炻昱棈鋹曻彅丨仡仼伀伃伹佖侒侊侚侔",
    "in-text": "日本語の文章に纊と褜が入っています。\n",
    "not-in-cp932": "丂と丄は符号にない。\n",
    "symbols": "˘ˇ¸˙˝¯˛˚～΄΅¡¦¿º ª©®™¤№\n",
}


def write(cls, name, data):
    folder = os.path.join(HERE, cls)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def man_text(path, limit=3000):
    lines = gzip.open(path, "rt", encoding="utf-8").read().splitlines()
    out, size = [], 0
    for line in lines:
        if any(ord(c) > 0x7F for c in line):
            out.append(line)
            size += len(line.encode("utf-8"))
            if size >= limit:
                break
    return "\n".join(out) + "\n"


def cp932(text):
    """Shift_JIS as Windows writes it (IBM extensions in rows FA-FC); Python's
    cp932 codec picks the NEC-selected rows ED-EE instead."""
    return subprocess.run(["iconv", "-c", "-f", "UTF-8", "-t", "CP932"], input=text.encode("utf-8"),
                          capture_output=True).stdout


def encodings(text):
    """The text in each plain code; characters a code lacks are left out."""
    return {
        "sjis": cp932(text),
        "euc": text.encode("euc_jp", "ignore"),
        "jis": text.encode("iso2022_jp", "ignore"),
        "utf8": text.encode("utf-8"),
    }


def jis_kana_shift_out(text):
    """ISO-2022-JP with half-width katakana by SO/SI, as some old mailers wrote."""
    out = bytearray()
    shifted = False
    for ch in text:
        b = ch.encode("cp932")
        if len(b) == 1 and 0xA1 <= b[0] <= 0xDF:
            if not shifted:
                out += b"\x0e"
                shifted = True
            out.append(b[0] - 0x80)
        else:
            if shifted:
                out += b"\x0f"
                shifted = False
            out += ch.encode("iso2022_jp")
    if shifted:
        out += b"\x0f"
    return bytes(out)


def b_word(charset, data):
    return b"=?" + charset + b"?B?" + base64.b64encode(data) + b"?="


def q_word(charset, data):
    return b"=?" + charset + b"?Q?" + quopri.encodestring(data, header=True).replace(b"=\n", b"") + b"?="


def mime_cases():
    subject = "【重要】激安セールのお知らせ"
    cases = {}
    for charset, codec in [(b"ISO-2022-JP", "iso2022_jp"), (b"Shift_JIS", "cp932"),
                           (b"EUC-JP", "euc_jp"), (b"UTF-8", "utf-8")]:
        data = subject.encode(codec)
        tag = charset.decode().lower().replace("_", "-")
        cases[f"b-{tag}"] = b"Subject: " + b_word(charset, data) + b"\n"
        cases[f"q-{tag}"] = b"Subject: " + q_word(charset, data) + b"\n"
        cases[f"lower-{tag}"] = b"Subject: " + b_word(charset.lower(), data) + b"\n"
    # Two words of one subject, folded, as long subjects are sent.
    first, second = "見積もりの件について", "ご確認ください"
    for charset, codec in [(b"ISO-2022-JP", "iso2022_jp"), (b"UTF-8", "utf-8")]:
        tag = charset.decode().lower()
        cases[f"folded-{tag}"] = (b"Subject: " + b_word(charset, first.encode(codec)) + b"\n " +
                                  b_word(charset, second.encode(codec)) + b"\n")
    # Plain text around a word, and a whole header block.
    cases["around-text"] = b"Subject: Re: " + b_word(b"ISO-2022-JP", "返信".encode("iso2022_jp")) + b" (2)\n"
    cases["header-block"] = (
        b"From: " + b_word(b"ISO-2022-JP", "山田太郎".encode("iso2022_jp")) + b" <taro@example.jp>\n"
        b"To: " + b_word(b"UTF-8", "鈴木花子".encode("utf-8")) + b" <hanako@example.jp>\n"
        b"Subject: " + b_word(b"Shift_JIS", "お見積もり".encode("cp932")) + b"\n\n"
        + "本文です。\n".encode("iso2022_jp"))
    cases["kana-word"] = b"Subject: " + b_word(b"Shift_JIS", "ｾｰﾙ".encode("cp932")) + b"\n"
    cases["utf8-not-cp932"] = b"Subject: " + b_word(b"UTF-8", "価格€10 😀 café".encode("utf-8")) + b"\n"
    # A JIS stream cut between two words: the second word starts in kanji mode.
    jis = "分割された件名".encode("iso2022_jp")
    cut = jis.index(b"\x1b$B") + 3 + 6
    cases["jis-split"] = (b"Subject: " + b_word(b"ISO-2022-JP", jis[:cut]) + b"\n " +
                          b_word(b"ISO-2022-JP", jis[cut:]) + b"\n")
    return cases


BROKEN = {
    "euc-truncated": "日本語の文章".encode("euc_jp")[:-1] + b"\n",
    "sjis-lone-lead": "日本語の文章".encode("cp932") + b"\x82",
    "sjis-lead-newline": "日本語".encode("cp932") + b"\x88\nend\n",
    "jis-stray-esc": b"abc\x1b def \x1b$ ghi\n",
    "jis-no-return": "漢字のまま".encode("iso2022_jp")[:-3] + b"\n",
    "jis-odd-bytes": b"\x1b$B$\"$\x1b(B end\n",
    "jis-with-8bit": b"\x1b$B$\"\x1b(B \xb1\xb2\xb3\n",
    "utf8-truncated": "日本語の文章です".encode("utf-8")[:-1] + b"\n",
    "utf8-overlong": "日本語".encode("utf-8") + b"\xc0\xaf\xe0\x80\xaf" + "です".encode("utf-8") + b"\n",
    "utf8-surrogate": "日本語".encode("utf-8") + b"\xed\xa0\x80" + "です".encode("utf-8") + b"\n",
    "mime-bad-base64": b"Subject: =?ISO-2022-JP?B?GyRC!!!?=\n",
    "mime-unterminated": b"Subject: =?ISO-2022-JP?B?GyRCJCI\n",
    "mime-esc-left-open": b"Subject: " + b_word(b"ISO-2022-JP", b"\x1b$B$\"") + b"\n",
    "mime-utf8-truncated": b"Subject: " + b_word(b"UTF-8", "日本".encode("utf-8")[:-1]) + b"\n",
    "binary": bytes(range(256)),
}


def main():
    for cls in ["sjis", "euc", "jis", "utf8", "kana", "x0212", "mime", "broken"]:
        shutil.rmtree(os.path.join(HERE, cls), ignore_errors=True)
    texts = {os.path.basename(p).split(".")[0]: man_text(p) for p in MAN_PAGES}
    texts.update(WRITTEN)
    for name, text in texts.items():
        for code, data in encodings(text).items():
            write(code, name, data)
    write("sjis", "nec-selected", "ⅰⅱⅲ￤＇＂纊褜".encode("cp932"))
    for name, text in KANA.items():
        write("kana", name + ".sjis", text.encode("cp932"))
        write("kana", name + ".euc", text.encode("euc_jp"))
        write("kana", name + ".jis-esc", text.encode("iso2022_jp_ext"))
        write("kana", name + ".jis-so", jis_kana_shift_out(text))
        write("kana", name + ".utf8", text.encode("utf-8"))
    for name, text in X0212.items():
        write("x0212", name + ".euc", text.encode("euc_jp", "ignore"))
        write("x0212", name + ".jis", text.encode("iso2022_jp_1", "ignore"))
    for name, data in mime_cases().items():
        write("mime", name, data)
    for name, data in BROKEN.items():
        write("broken", name, data)


if __name__ == "__main__":
    main()
