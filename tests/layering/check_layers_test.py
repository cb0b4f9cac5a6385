#!/usr/bin/env python3
"""The layering check finds what it is there to find, in a small made-up tree."""
import pathlib
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import check_layers  # noqa: E402


def tree(files):
    root = pathlib.Path(tempfile.mkdtemp())
    (root / "tools").mkdir()
    for name, text in files.items():
        path = root / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)
    return root


def main():
    root = tree({
        "src/core/Doc.cpp": '#include "settings/Options.h"\n#include "filters/Match.h"\n#include "core/Doc.h"\n'
                            '#include "streams/IStreamSource.h"\n',
        "src/streams/Up.cpp": '#include "capture/Chunks.h"\n#include "core/Doc.h"\n',
        "src/capture/Up.cpp": '#include "streams/IStreamSource.h"\n',
        "src/core/Up.cpp": '#include "mail/MailCenter.h"\n',
        "src/filters/Up.cpp": '#include "core/Doc.h"\n',
        "src/discovery/Side.cpp": '#include "export/Html.h"\n',
        "src/app/ui/Frame.cpp": '#include <QWidget>\n#include "view/View.h"\n#include "filters/ui/Dialog.h"\n',
        "src/view/Up.cpp": '#include "app/ui/Frame.h"\n',
        "src/filters/ui/Side.cpp": '#include "mail/ui/Dialog.h"\n',
        "src/mail/Qt.cpp": '#include <QString>\n',
        "src/app/Long.cpp": "int x;\n" * 601,
        "tools/t/main.cpp": '#include "app/App.h"\n#include "view/View.h"\n',
    })
    found = "\n".join(check_layers.check(root))
    expected = [
        "src/core/Up.cpp:1 (core) reaches up to mail",
        "src/filters/Up.cpp:1 (filters) reaches up to core",
        "src/streams/Up.cpp:2 (streams) reaches up to core",
        "src/capture/Up.cpp:1 (capture) reaches up to streams",
        "src/discovery/Side.cpp:1 (discovery) reaches beside to export",
        "src/view/Up.cpp:1 (view) reaches up to app/ui",
        "src/filters/ui/Side.cpp:1 (filters/ui) reaches beside to mail/ui",
        "src/mail/Qt.cpp:1 includes Qt outside the UI layer",
        "src/app/Long.cpp has 601 lines",
        "tools/t/main.cpp:2 (a tool) includes UI code",
    ]
    missing = [e for e in expected if e not in found]
    allowed = ["src/core/Doc.cpp", "src/streams/Up.cpp:1", "src/app/ui/Frame.cpp", "tools/t/main.cpp:1"]
    wrong = [a for a in allowed if a in found]
    if missing or wrong or len(found.splitlines()) != len(expected):
        print("found:\n" + found)
        print("missing: %s\nreported though allowed: %s" % (missing, wrong))
        return 1
    print("layering check: 1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
