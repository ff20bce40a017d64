#!/usr/bin/env python3
"""Writes the demo registry data (one Outlook Express identity with accounts,
mail rules and blocked senders) as a REGEDIT4 file: texts in Shift_JIS
(cp932), as regedit stores them on a Japanese system.

    make_demo_reg.py [OUT.reg]            the demo (default data/demo/demo.reg)
    make_demo_reg.py --invalid OUT.reg    the same with one rule left invalid
"""
import os
import struct
import sys

GUID = "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}"
USER = "山田 花子"
BASE = r"HKEY_CURRENT_USER\Identities" + "\\" + GUID
OE = BASE + r"\Software\Microsoft\Outlook Express\5.0"
IAM = BASE + r"\Software\Microsoft\Internet Account Manager"

# Criterion and action type codes.
FROM, SUBJECT, BODY, PRIORITY, ATTACH, SIZE, ACCOUNT = 12, 8, 9, 13, 14, 15, 19
MOVE, DELETE, DEL_SERVER, HIGHLIGHT, FLAG, STOP = 6, 7, 8, 10, 11, 12


def sz(text):
    out = ['"']
    for ch in text:
        out.append("\\" + ch if ch in '\\"' else ch)
    return "".join(out) + '"'


def hexbytes(data, kind=""):
    return "hex%s:%s" % (kind, ",".join("%02x" % b for b in data))


def dword(n):
    return "dword:%08x" % n


def words(entries):
    data = b"".join(e.encode("cp932") + b"\0" for e in entries)
    return data + b"\0\0" if data else b""


def folder_ref(store, store2, folder):
    return struct.pack("<I", store) + bytes([store2 & 0xFF, (store2 >> 8) & 0xFF, (store2 >> 16) & 0xFF, 1]) + struct.pack("<I", folder)


class Reg:
    def __init__(self):
        self.lines = ["REGEDIT4", ""]

    def key(self, path, values):
        self.lines.append("[%s]" % path)
        for name, value in values:
            self.lines.append("%s=%s" % (sz(name), value))
        self.lines.append("")

    def items(self, path, items, criteria, logic=2):
        self.key(path, [("Order", sz(" ".join("%03X" % i for i in range(len(items)))))])
        for i, (type_, flags, value) in enumerate(items):
            vals = [("Flags", dword(flags))]
            if criteria:
                vals.append(("Logic", dword(logic)))
            vals.append(("Type", dword(type_)))
            if isinstance(value, int):
                vals += [("ValueType", dword(19)), ("Value", dword(value))]
            elif isinstance(value, str):
                vals += [("ValueType", dword(30)), ("Value", sz(value))]
            elif isinstance(value, bytes):
                vals += [("ValueType", dword(65)), ("Value", hexbytes(value))]
            self.key("%s\\%03X" % (path, i), vals)

    def rule(self, number, name, enabled, version, criteria, actions, logic=2):
        path = "%s\\Rules\\Mail\\%03X" % (OE, number)
        self.key(path, [("Enabled", dword(enabled)), ("Name", sz(name)), ("Version", dword(version))])
        self.items(path + "\\Criteria", criteria, True, logic)
        self.items(path + "\\Actions", actions, False)

    def text(self):
        return "\r\n".join(self.lines) + "\r\n"


def build(invalid):
    r = Reg()
    r.key(r"HKEY_CURRENT_USER\Identities", [
        ("Default User ID", sz(GUID)), ("Last User ID", sz(GUID)), ("Last Username", sz(USER)),
        ("Identity Ordinal", dword(2)), ("Migrated5", dword(1)), ("Start as", sz(GUID))])
    r.key(BASE, [("Username", sz(USER)), ("User ID", sz(GUID)), ("Identity Ordinal", dword(1))])
    store_root = "%UserProfile%\\Local Settings\\Application Data\\Identities\\" + GUID + "\\Microsoft\\Outlook Express"
    r.key(OE, [("Store Root", hexbytes(store_root.encode("cp932") + b"\0", "(2)"))])
    r.key(IAM, [("Default Mail Account", sz("00000001"))])
    r.key(IAM + r"\Accounts", [])
    r.key(IAM + r"\Accounts\00000001", [
        ("Account Name", sz("プロバイダのメール")), ("SMTP Display Name", sz(USER)),
        ("SMTP Email Address", sz("hanako@example.ne.jp")), ("POP3 Server", sz("pop.example.ne.jp")),
        ("SMTP Server", sz("smtp.example.ne.jp")), ("POP3 User Name", sz("hanako"))])
    r.key(IAM + r"\Accounts\00000002", [
        ("Account Name", sz("携帯への転送用")), ("SMTP Display Name", sz("花子（携帯）")),
        ("SMTP Email Address", sz("hanako.k@example.jp")), ("POP3 Server", sz("pop.example.jp")),
        ("SMTP Server", sz("smtp.example.jp"))])

    rules = [
        (0, "[SAFE]送信者が信頼できるメールアドレスの場合", 1, 3,
         [(FROM, 0, words(["taro@example.co.jp", "kazoku@example.ne.jp", "表計算サークル <club@example.org>"]))],
         [(STOP, 0, None)], 2),
        (1, "[SAFE]本文に信頼できるメールアドレスを含む場合", 1, 3,
         [(BODY, 0, words(["hanako@example.ne.jp", "hanako.k@example.jp"]))], [(STOP, 0, None)], 2),
        (2, "[BLOCK]迷惑メールのキーワード", 1, 5,
         [(SUBJECT, 0, words(["未承諾広告※", "出会い", "儲かる", "当選"])),
          (BODY, 0, words(["今すぐクリック", "無料ソフト", "ソフト予約"]))],
         [(DELETE, 0, None)], 1),
        (3, "メールマガジンを整理", 1, 2,
         [(FROM, 0, words(["news@shop.example.jp"]))],
         [(MOVE, 0, folder_ref(0x4A3B2C1D, 0x0012ABCD, 0x105)), (HIGHLIGHT, 0, 5)], 2),
        (4, "[BLOCK]大きな添付ファイル（停止中）", 0, 1,
         [(SIZE, 0, 1024), (ATTACH, 0, None)], [(DEL_SERVER, 0, None)], 2),
        (5, "重要なメールに印を付ける", 1, 1,
         [(PRIORITY, 0, 2), (ACCOUNT, 0, "00000001")], [(FLAG, 0, None), (HIGHLIGHT, 0, 1)], 2),
    ]
    if invalid:
        # A forward action without an address: the rule cannot be saved as it stands.
        rules[5] = rules[5][:5] + ([(FLAG, 0, None), (2, 0, b"")],) + rules[5][6:]
    order = " ".join("%03X" % rule[0] for rule in rules)
    r.key(OE + r"\Rules\Mail", [("Version", dword(0x50000)), ("Order", sz(order))])
    for number, name, enabled, version, criteria, actions, logic in rules:
        r.rule(number, name, enabled, version, criteria, actions, logic)
    r.key(OE + r"\Rules\News", [("Version", dword(0x50000)), ("Order", sz(""))])

    block = OE + r"\Block Senders"
    r.key(block, [("Version", dword(0x50000))])
    r.key(block + r"\Mail", [("Enabled", dword(1)), ("Name", sz("送信者を禁止する")), ("Version", dword(3))])
    r.items(block + r"\Mail\Actions", [(DELETE, 0, None)], False)
    r.items(block + r"\Mail\Criteria",
            [(23, 0, a) for a in ["bulk@spam.example.com", "info@deai.example.net", "迷惑 <win@prize.example>"]],
            True, 1)
    return r.text()


def main(argv):
    invalid = "--invalid" in argv
    args = [a for a in argv if a != "--invalid"]
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "..", "data", "demo", "demo.reg")
    with open(out, "wb") as f:
        f.write(build(invalid).encode("cp932"))


if __name__ == "__main__":
    main(sys.argv[1:])
