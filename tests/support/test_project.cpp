#include "support/test_project.h"

namespace testing_support {

namespace {
QString crlf(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}
} // namespace

TestProject &TestProject::module(const QString &name, const QString &code)
{
    m_files.push_back({QStringLiteral("Module"), QStringLiteral("%1; %1.bas").arg(name), name + QLatin1String(".bas"),
                       QStringLiteral("Attribute VB_Name = \"%1\"\n").arg(name) + code});
    return *this;
}

TestProject &TestProject::classModule(const QString &name, const QString &code)
{
    m_files.push_back({QStringLiteral("Class"), QStringLiteral("%1; %1.cls").arg(name), name + QLatin1String(".cls"),
                       QStringLiteral("VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\n"
                                      "Attribute VB_Name = \"%1\"\nAttribute VB_GlobalNameSpace = False\n")
                               .arg(name) +
                           code});
    return *this;
}

TestProject &TestProject::designerFile(const QString &key, const QString &ext, const QString &begin,
                                       const QString &name, const QString &code, const QString &props,
                                       const QString &controls)
{
    QString text = QStringLiteral("VERSION 5.00\nBegin %1 %2 \n   Caption         =   \"%2\"\n").arg(begin, name);
    text += props;
    text += controls;
    if (!controls.isEmpty() && !controls.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    text += QStringLiteral("End\nAttribute VB_Name = \"%1\"\nAttribute VB_GlobalNameSpace = False\n").arg(name);
    text += code;
    m_files.push_back({key, name + ext, name + ext, text});
    return *this;
}

TestProject &TestProject::form(const QString &name, const QString &code, const QString &controls, bool mdiChild)
{
    return designerFile(QStringLiteral("Form"), QStringLiteral(".frm"), QStringLiteral("VB.Form"), name, code,
                        mdiChild ? QStringLiteral("   MDIChild        =   -1  'True\n") : QString(), controls);
}

TestProject &TestProject::mdiForm(const QString &name, const QString &code, const QString &controls)
{
    return designerFile(QStringLiteral("Form"), QStringLiteral(".frm"), QStringLiteral("VB.MDIForm"), name, code, {},
                        controls);
}

TestProject &TestProject::userControl(const QString &name, const QString &code, const QString &controls)
{
    return designerFile(QStringLiteral("UserControl"), QStringLiteral(".ctl"), QStringLiteral("VB.UserControl"), name,
                        code, {}, controls);
}

TestProject &TestProject::propertyPage(const QString &name, const QString &code)
{
    return designerFile(QStringLiteral("PropertyPage"), QStringLiteral(".pag"), QStringLiteral("VB.PropertyPage"),
                        name, code, {}, {});
}

TestProject &TestProject::userDocument(const QString &name, const QString &code)
{
    return designerFile(QStringLiteral("UserDocument"), QStringLiteral(".dob"), QStringLiteral("VB.UserDocument"),
                        name, code, {}, {});
}

TestProject &TestProject::designer(const QString &name, const QString &code)
{
    return designerFile(QStringLiteral("Designer"), QStringLiteral(".dsr"),
                        QStringLiteral("{78E93846-85FD-11D0-8487-00A0C90DC8A9}"), name, code, {}, {});
}

TestProject &TestProject::relatedDoc(const QString &fileName)
{
    m_files.push_back({QStringLiteral("RelatedDoc"), fileName, fileName, QStringLiteral("notes\n")});
    return *this;
}

TestProject &TestProject::resFile(const QString &fileName)
{
    m_files.push_back({QStringLiteral("ResFile32"), QStringLiteral("\"%1\"").arg(fileName), fileName,
                       QStringLiteral("RES")});
    return *this;
}

TestProject &TestProject::vbpLine(const QString &line)
{
    m_extra << line;
    return *this;
}

void TestProject::writeTo(ide::files::MemoryFileSystem &fs) const
{
    const QString dir = QStringLiteral("/project/%1/").arg(m_name);
    QString vbp = QStringLiteral("Type=%1\n").arg(m_type);
    for (const auto &f : m_files)
        vbp += QStringLiteral("%1=%2\n").arg(f.key, f.vbpValue);
    for (const auto &line : m_extra)
        vbp += line + QLatin1Char('\n');
    vbp += QStringLiteral("Name=\"%1\"\n").arg(m_name);
    fs.add(vbpPath(), ide::files::encode(crlf(vbp), ide::files::CodePage::Cp932));
    for (const auto &f : m_files)
        fs.add(dir + f.fileName, ide::files::encode(crlf(f.text), ide::files::CodePage::Cp932));
}

std::shared_ptr<ide::files::MemoryFileSystem> TestProject::files() const
{
    auto fs = std::make_shared<ide::files::MemoryFileSystem>();
    writeTo(*fs);
    return fs;
}

std::unique_ptr<ide::Ide> TestProject::build() const
{
    auto ide = std::make_unique<ide::Ide>(files());
    ide->setCodePage(ide::files::CodePage::Cp932);
    ide->load(vbpPath());
    for (const auto &d : ide->diagnostics())
        ADD_FAILURE() << "load diagnostic: " << d.file.toStdString() << ":" << d.line << ": "
                      << d.message.toStdString();
    return ide;
}

} // namespace testing_support
