#!/usr/bin/env python3
"""Writes the mails written inline in Python's email tests, one file each.

usage: python-inline-mails.py OUT-FOLDER TEST-FOLDER...
  TEST-FOLDER  e.g. .../lib/python3.11/test/test_email

A triple-quoted string counts as a mail when its first line is a header field
and it holds an empty line. The text is taken as written in the source, so a
few keep the backslashes of Python escapes (they show in the comparison).
"""
import hashlib
import os
import re
import sys
import textwrap

FIRST = re.compile(r'^(From|To|Subject|Content-Type|MIME-Version|Date|Return-Path|Received|Message-ID|X-[\w-]+|Cc):',
                   re.I)


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    out, written = sys.argv[1], 0
    os.makedirs(out, exist_ok=True)
    for folder in sys.argv[2:]:
        for name in sorted(os.listdir(folder)):
            if not (name.startswith('test_') and name.endswith('.py')):
                continue
            with open(os.path.join(folder, name), encoding='utf-8', errors='replace') as f:
                source = f.read()
            for match in re.finditer(r'(?s)"""\\?\n?(.*?)"""', source):
                text = textwrap.dedent(match.group(1)).lstrip('\n')
                if not FIRST.match(text.split('\n', 1)[0]) or '\n\n' not in text:
                    continue
                if '%(' in text or '%s' in text or '{0' in text:  # templates, not mails
                    continue
                data = text.encode('utf-8')
                path = os.path.join(out, hashlib.md5(data).hexdigest()[:10] + '.eml')
                if not os.path.exists(path):
                    with open(path, 'wb') as f:
                        f.write(data)
                    written += 1
    print(f'{written} mails written')
    return 0


if __name__ == '__main__':
    sys.exit(main())
