#pragma once
// Builds a VB6 project in memory and loads it into a fresh stand-in IDE:
//   auto ide = TestProject().module("Module1", R"vb(...)vb").form("Form1", ...).build();
#include "ide/files/encoding.h"
#include "ide/files/file_system.h"
#include "ide/shell/ide.h"

#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

class TestProject {
public:
    explicit TestProject(QString name = QStringLiteral("Project1"), QString type = QStringLiteral("Exe"))
        : m_name(std::move(name)), m_type(std::move(type)) {}

    /// A standard module; `code` is what the code pane shows.
    TestProject &module(const QString &name, const QString &code);
    TestProject &classModule(const QString &name, const QString &code);
    /// A form; `controls` are Begin/End blocks placed inside the form block.
    TestProject &form(const QString &name, const QString &code, const QString &controls = {},
                      bool mdiChild = false);
    TestProject &mdiForm(const QString &name, const QString &code, const QString &controls = {});
    TestProject &userControl(const QString &name, const QString &code, const QString &controls = {});
    TestProject &propertyPage(const QString &name, const QString &code);
    TestProject &userDocument(const QString &name, const QString &code);
    TestProject &designer(const QString &name, const QString &code);
    TestProject &relatedDoc(const QString &fileName);
    TestProject &resFile(const QString &fileName);
    /// Raw extra lines for the .vbp (references, keys).
    TestProject &vbpLine(const QString &line);

    /// The files, under /project/<name>/.
    std::shared_ptr<ide::files::MemoryFileSystem> files() const;
    QString vbpPath() const { return QStringLiteral("/project/%1/%1.vbp").arg(m_name); }
    /// Writes the files into `fs` (to build several projects in one file system).
    void writeTo(ide::files::MemoryFileSystem &fs) const;

    /// Loads into a new IDE; fails the current test on any load diagnostic.
    std::unique_ptr<ide::Ide> build() const;

private:
    struct File {
        QString key;
        QString vbpValue;
        QString fileName;
        QString text;
    };
    TestProject &designerFile(const QString &key, const QString &ext, const QString &begin, const QString &name,
                              const QString &code, const QString &props, const QString &controls);
    QString m_name;
    QString m_type;
    QStringList m_extra;
    std::vector<File> m_files;
};

} // namespace testing_support
