#!/usr/bin/env python3
"""Writes both skin folders: skin.xml, the page files, Language.ini, Help.txt, the images and
the program's icon.

    python3 scripts/skin/make_skin.py [repository root]

The written files are the skin; they may also be edited by hand. When editing here, run the
script again and commit its output together with the change.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from frame import skin  # noqa: E402
from icon import icon_files  # noqa: E402
from images import all_images  # noqa: E402
from pages import PAGES  # noqa: E402
from texts import help_txt, language_ini  # noqa: E402
from xmlgen import document  # noqa: E402

FOLDERS = {"en": "ConifgENRes", "zh": "ConifgRes"}
NOTE = ("Written by scripts/skin/make_skin.py. Both language folders hold the same names, "
        "classes and item counts.")


def write(path, data):
    mode = "wb" if isinstance(data, bytes) else "w"
    kw = {} if isinstance(data, bytes) else {"encoding": "utf-8", "newline": "\n"}
    with open(path, mode, **kw) as f:
        f.write(data)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..")
    images = all_images()
    images.update(icon_files())
    for lang, folder in FOLDERS.items():
        out = os.path.join(root, "skin", folder)
        os.makedirs(out, exist_ok=True)
        write(os.path.join(out, "skin.xml"),
              document(skin([element for element, _, _ in PAGES]), lang, NOTE))
        for _, file_name, build in PAGES:
            write(os.path.join(out, file_name), document(build(), lang, NOTE))
        write(os.path.join(out, "Language.ini"), language_ini(lang))
        write(os.path.join(out, "Help.txt"), help_txt(lang))
        for name, data in images.items():
            write(os.path.join(out, name), data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
