#!/usr/bin/env python3
"""Agreement of `velkor-rules mail` with Python's email package on real mails.

usage: agreement.py READER FOLDER [READER2 ...]
  READER  a program that prints the `mail` lines of docs/velkor-rules.md for
          the files it is given (velkor-rules itself: "path/velkor-rules mail")
  FOLDER  the mails, one per file

The reference is email.message_from_bytes with policy.default: the sender is
the first From address, TO and CC every address of every To and Cc header,
the subject decoded, ATTACHMENT whether any leaf part has the disposition
attachment or a file name. Subjects are compared with blank runs collapsed and
after a round trip through code page 932 (what the program can show). Mails
whose raw header holds 8-bit bytes with no declared character set are left
out of the header fields, as no reader can agree on them.
"""
import email
import email.policy
import email.utils
import os
import shlex
import subprocess
import sys


def cp932(text):
    return text.encode('cp932', errors='replace').decode('cp932')


def norm(text):
    return ' '.join(cp932(text).split())


def reference(raw):
    msg = email.message_from_bytes(raw, policy=email.policy.default)

    def addresses(name):
        out = []
        for value in msg.get_all(name) or []:
            try:
                out += [a.addr_spec for a in value.addresses]
            except Exception:  # a header the new parser gives up on
                out += [a for _, a in email.utils.getaddresses([str(value)])]
        return [a for a in out if a and a != '<>']

    try:
        subject = str(msg['subject'] or '')
    except Exception:
        subject = ''
    attachment = False
    for part in msg.walk():
        if part.is_multipart():
            continue
        try:
            if part.get_content_disposition() == 'attachment' or part.get_filename():
                attachment = True
        except Exception:
            pass
    sender = addresses('from')
    return {
        'sender': sender[0] if sender else '',
        'subject': norm(subject),
        'to': ','.join(addresses('to')),
        'cc': ','.join(addresses('cc')),
        'attachment': '1' if attachment else '0',
    }


def header_is_8bit(raw):
    end = raw.find(b'\n\n')
    end2 = raw.find(b'\r\n\r\n')
    ends = [e for e in (end, end2) if e >= 0]
    head = raw[:min(ends)] if ends else raw
    return any(b >= 0x80 for b in head)


def run_reader(reader, files):
    out = {}
    for i in range(0, len(files), 200):
        chunk = files[i:i + 200]
        result = subprocess.run(shlex.split(reader) + chunk, stdout=subprocess.PIPE)
        for line in result.stdout.split(b'\n'):
            fields = line.split(b'\t')
            if len(fields) < 10 or fields[0] != b'mail':
                continue
            f = [x.decode('cp932', errors='replace') for x in fields]
            out[f[1]] = {'sender': f[2], 'subject': norm(f[3]), 'to': f[4], 'cc': f[5], 'attachment': f[7]}
    return out


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    readers, folder = sys.argv[1:-1], sys.argv[-1]
    files = sorted(os.path.join(d, n) for d, _, names in os.walk(folder) for n in names)
    refs, eightbit = {}, set()
    for path in files:
        with open(path, 'rb') as f:
            raw = f.read()
        refs[path] = reference(raw)
        if header_is_8bit(raw):
            eightbit.add(path)
    fields = ['sender', 'subject', 'to', 'cc', 'attachment']
    print(f'{len(files)} mails, {len(eightbit)} with 8-bit header bytes left out of the header fields')
    print('reader'.ljust(40) + ''.join(f.rjust(12) for f in fields))
    for reader in readers:
        got = run_reader(reader, files)
        row, misses = [], []
        for field in fields:
            counted = [p for p in files if field == 'attachment' or p not in eightbit]
            agree = sum(1 for p in counted if got.get(p, {}).get(field) == refs[p][field])
            row.append(f'{100.0 * agree / max(1, len(counted)):.1f}%')
            misses += [(field, p, got.get(p, {}).get(field), refs[p][field]) for p in counted
                       if got.get(p, {}).get(field) != refs[p][field]]
        print(os.path.basename(shlex.split(reader)[0]).ljust(40) + ''.join(c.rjust(12) for c in row))
        for field, path, mine, ref in misses:
            print(f'  {field} {path}: {mine!r} vs {ref!r}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
