#pragma once
// A temporary folder for a UI test: files written into it, a fresh settings
// store in it for each test function, and file lists as the engine takes them.

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace ui_test {

class TestFolder {
public:
    bool IsValid() const { return dir_.isValid(); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString Folder() const { return dir_.path(); }

    QString WriteFile(const QString& name, const QByteArray& content) {
        const QString path = Path(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        return path;
    }

    // The settings store moves to a new file, so a test starts from defaults.
    void UseNextStore() {
        ++storeNumber_;
        platform::registry_store::UsePath(
            Path(QStringLiteral("registry-%1.db").arg(storeNumber_)).toStdString());
    }

private:
    QTemporaryDir dir_;
    int storeNumber_ = 0;
};

inline std::vector<std::u16string> Paths(const QStringList& paths) {
    std::vector<std::u16string> result;
    for (const QString& path : paths) result.push_back(path.toStdU16String());
    return result;
}

}  // namespace ui_test
