#include "ide/shell/shell_impl.h"

#include "ide/files/parallel.h"
#include "ide/files/parse_util.h"
#include "ide/files/project_sources.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <exception>
#include <optional>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ide {

using host::Error;
using host::Ptr;
namespace err = host::err;

namespace {

QString folderOf(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QStringLiteral(".") : (slash == 0 ? QStringLiteral("/") : path.left(slash));
}

QString baseName(const QString &windowsPath)
{
    QString p = windowsPath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p.mid(p.lastIndexOf(QLatin1Char('/')) + 1);
}

struct KnownLibrary {
    const char *guid;
    const char *name;
};

// Type libraries whose names the .vbp does not carry; these also count as present
// on any Windows machine, so they are never broken.
constexpr KnownLibrary kKnownLibraries[] = {
    {"{00020430-0000-0000-C000-000000000046}", "stdole"},
    {"{000204EF-0000-0000-C000-000000000046}", "VBA"},
    {"{FCFB3D2E-A0FA-1068-A738-08002B3371B5}", "VB"},
    {"{EA544A21-C82D-11D1-A3E4-00A0C90AEA82}", "VBRUN"},
    {"{00000200-0000-0010-8000-00AA006D2EA4}", "ADODB"},
    {"{00000201-0000-0010-8000-00AA006D2EA4}", "ADODB"},
    {"{00000205-0000-0010-8000-00AA006D2EA4}", "ADODB"},
    {"{00000206-0000-0010-8000-00AA006D2EA4}", "ADODB"},
    {"{2A75196C-D9EB-4129-B803-931327F72D5C}", "ADODB"},
    {"{B691E011-1797-432E-907A-4D8C69339129}", "ADODB"},
    {"{EF53050B-882E-4776-B643-EDA472E8E3F2}", "ADODB"},
    {"{00000600-0000-0010-8000-00AA006D2EA4}", "ADOX"},
    {"{00025E01-0000-0000-C000-000000000046}", "DAO"},
    {"{420B2830-E718-11CF-893D-00A0C9054228}", "Scripting"},
    {"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}", "MSComctlLib"},
    {"{6B7E6392-850A-101B-AFC0-4210102A8DA7}", "ComctlLib"},
    {"{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}", "MSComCtl2"},
    {"{F9043C88-F6F2-101A-A3C9-08002B2F49FB}", "MSComDlg"},
    {"{0002E157-0000-0000-C000-000000000046}", "VBIDE"},
    {"{EF404E00-EDA6-101A-8DAF-00DD010F7EBB}", "VBIDE"},
    {"{2DF8D04C-5BFA-101B-BDE5-00AA0044DE52}", "Office"},
    {"{AC0714F2-3D04-11D1-AE7D-00A0C90F26F4}", "AddInDesignerObjects"},
    {"{F5078F18-C551-11D3-89B9-0000F81FE221}", "MSXML2"},
    {"{D63E0CE2-A0A2-11D0-9C02-00C04FC99C8E}", "MSXML2"},
    {"{3F4DACA7-160D-11D2-A8E9-00104B365C9F}", "VBScript_RegExp_55"},
    {"{BEE4BFEC-6683-3E67-9167-3C0CBC68F40A}", "System_Windows_Forms"},
    {"{00020813-0000-0000-C000-000000000046}", "Excel"},
    {"{00020905-0000-0000-C000-000000000046}", "Word"},
    {"{BED7F4EA-1A96-11D2-8F08-00A0C9A6186D}", "mscorlib"},
    {"{00000300-0000-0010-8000-00AA006D2EA4}", "ADOR"},
    {"{56BF9020-7A2F-11D0-9482-00A0C91110ED}", "MSMQ"},
    {"{D7AF7D8C-9C8E-4E85-AAE7-07D7E55F7E61}", "MSComm"},
    {"{648A5600-2C6E-101B-82B6-000000000014}", "MSCommLib"},
    {"{248DD890-BB45-11CF-9ABC-0080C7E7B78D}", "MSWinsockLib"},
    {"{BDC217C8-ED16-11CD-956C-0000C04E4C0A}", "TabDlg"},
    {"{5E9E78A0-531B-11CF-91F6-C2863C385E30}", "MSFlexGridLib"},
    {"{0ECD9B60-23AA-11D0-B351-00A0C9055D8E}", "MSHierarchicalFlexGridLib"},
    {"{3B7C8863-D78F-101B-B9B5-04021C009402}", "RichTextLib"},
    {"{67397AA1-7FB1-11D0-B148-00A0C922E820}", "MSAdodcLib"},
    {"{CDE57A40-8B86-11D0-B3C6-00A0C90AEA82}", "MSDataGridLib"},
    {"{F0D2F211-CCB0-11D0-A316-00AA00688B10}", "MSDataListLib"},
    {"{00028C01-0000-0000-0000-000000000046}", "MSDATASRC"},
    {"{E7BC34A0-BA86-11CF-84B1-CBC2DA68BF6C}", "RDO"},
    {"{C0E45035-5775-11D0-B388-00A0C9055D8E}", "MSDataEnvironment"},
    {"{78E93846-85FD-11D0-8487-00A0C90DC8A9}", "MSDataReportLib"},
};

const char *knownLibrary(const QString &guid)
{
    for (const auto &lib : kKnownLibraries) {
        if (guid.compare(QLatin1String(lib.guid), Qt::CaseInsensitive) == 0)
            return lib.name;
    }
    return nullptr;
}

void addBuiltInReferences(ReferencesImpl &references)
{
    ReferenceImpl::Data vb;
    vb.name = QStringLiteral("VB");
    vb.description = QStringLiteral("Visual Basic objects and procedures");
    vb.guid = QStringLiteral("{FCFB3D2E-A0FA-1068-A738-08002B3371B5}");
    vb.major = 6;
    vb.fullPath = QStringLiteral("C:\\Program Files\\Microsoft Visual Studio\\VB98\\VB6.OLB");
    vb.builtIn = true;
    references.append(std::make_shared<ReferenceImpl>(vb));

    ReferenceImpl::Data vbrun;
    vbrun.name = QStringLiteral("VBRUN");
    vbrun.description = QStringLiteral("Visual Basic runtime objects and procedures");
    vbrun.guid = QStringLiteral("{EA544A21-C82D-11D1-A3E4-00A0C90AEA82}");
    vbrun.major = 6;
    vbrun.fullPath = QStringLiteral("C:\\WINDOWS\\system32\\MSVBVM60.DLL\\3");
    vbrun.builtIn = true;
    references.append(std::make_shared<ReferenceImpl>(vbrun));
}

/// Each unit case-folded, surrogates all alike: names that QString::compare finds equal
/// ignoring case share it.
QString nameKey(const QString &name)
{
    QString key = name;
    for (QChar &c : key) {
        const char32_t f = c.isSurrogate() ? 0xD800 : QChar::toCaseFolded(char32_t(c.unicode()));
        c = QChar(char16_t(f <= 0xFFFF ? f : 0xD800));
    }
    return key;
}

host::ComponentType componentTypeOf(const QString &key, files::ModuleKind kind)
{
    using CT = host::ComponentType;
    using MK = files::ModuleKind;
    const QString k = key.toLower();
    if (k == QLatin1String("module"))
        return CT::StdModule;
    if (k == QLatin1String("class"))
        return CT::ClassModule;
    if (k == QLatin1String("form"))
        return kind == MK::MDIForm ? CT::VBMDIForm : CT::VBForm;
    if (k == QLatin1String("usercontrol"))
        return CT::UserControl;
    if (k == QLatin1String("propertypage"))
        return CT::PropPage;
    if (k == QLatin1String("userdocument"))
        return CT::DocObject;
    if (k == QLatin1String("designer"))
        return CT::ActiveXDesigner;
    if (k == QLatin1String("relateddoc"))
        return CT::RelatedDocument;
    return CT::ResFile;
}

/// One member read from its bytes, before it joins the project.
struct BuiltMember {
    ComponentImpl::Data data;
    std::vector<files::Diagnostic> diagnostics;
    std::optional<files::Diagnostic> readFailure; // the member's file could not be read
    std::exception_ptr failure;
};

/// Reads (unless already read), decodes and builds one member. `buffer` is storage the thread
/// reuses from file to file; nothing built keeps a reference to it. A member whose file cannot
/// hold `passByText` is only skimmed, when it can be (Ide::setCodeOnDemand).
void buildMember(const files::FileSystem &fs, const QString &vbpPath, files::ProjectSources::Member &p,
                 QByteArray &buffer, const QString &passByText, BuiltMember &out)
{
    using CT = host::ComponentType;
    ComponentImpl::Data &c = out.data;
    c.fileNames = {p.path};
    const QString key = p.line.key.toLower();
    if (key == QLatin1String("relateddoc") || key == QLatin1String("resfile32")) {
        c.type = componentTypeOf(key, files::ModuleKind::Unknown);
        c.name = baseName(p.line.path);
        return;
    }
    if (p.unread) {
        out.readFailure = files::readMember(fs, vbpPath, p, buffer);
        if (out.readFailure)
            return;
    } else {
        buffer = std::exchange(p.bytes, QByteArray());
    }
    std::vector<files::Diagnostic> &parseDiags = out.diagnostics;
    std::optional<files::ModuleFile> skimmed;
    if (!passByText.isEmpty() && !mayHold(buffer, p.codePage, passByText, false))
        skimmed = files::skimModule(buffer, p.codePage, p.path, parseDiags);
    files::MixedLines lines;
    if (!skimmed)
        lines = files::decodeMixedLines(buffer, p.codePage, p.path, parseDiags);
    files::ModuleFile module = skimmed ? std::move(*skimmed) : files::parseModule(lines, p.path, parseDiags);
    c.type = componentTypeOf(key, module.kind);
    c.name = !module.vbName.isEmpty() ? module.vbName : p.line.name;
    if (c.name.isEmpty()) {
        const QString base = baseName(p.line.path);
        c.name = base.left(base.lastIndexOf(QLatin1Char('.')) < 0 ? base.size() : base.lastIndexOf(QLatin1Char('.')));
    }
    c.designerId = module.designerId;
    c.hasDesigner = c.type == CT::VBForm || c.type == CT::VBMDIForm || c.type == CT::PropPage ||
                    c.type == CT::UserControl || c.type == CT::DocObject || c.type == CT::ActiveXDesigner;
    c.root = std::move(module.root);
    if (skimmed) {
        c.pending = std::make_shared<PendingCode>(PendingCode{p.path, p.codePage, module.codeFirstFileLine,
                                                              buffer.size(), fingerprint(buffer), passByText});
        return;
    }
    c.code = buildCode(lines, module.codeFirstFileLine);
    for (const auto &d : c.code.diagnostics())
        parseDiags.push_back({p.path, d.fileLine, d.message});
}

/// Members that keep another thread busy long enough to pay for starting it.
constexpr qsizetype kMembersPerLoadThread = 16;

/// Every member read and built, in order. Members are independent of each other, so they are
/// built on several threads when the project is large enough; what each yields, diagnostics
/// included, is the same whichever thread built it.
std::vector<BuiltMember> buildMembers(const files::FileSystem &fs, files::ProjectSources &sources, int threads,
                                      const QString &passByText)
{
    auto &pending = sources.members;
    std::vector<BuiltMember> built(pending.size());
    threads = files::threadsFor(qsizetype(pending.size()), kMembersPerLoadThread, threads);
    std::vector<QByteArray> buffers(static_cast<size_t>(threads));
    files::parallelFor(pending.size(), threads, [&](size_t k, int slot) {
        try {
            buildMember(fs, sources.path, pending[k], buffers[size_t(slot)], passByText, built[k]);
        } catch (...) {
            built[k].failure = std::current_exception();
        }
    });
    return built;
}

} // namespace

size_t fingerprint(QByteArrayView bytes)
{
    // Two running sums of 64-bit words (Fletcher's): a changed, moved or swapped word changes
    // them, at the speed of reading the bytes.
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    std::uint64_t a = 0, b = 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    __m128i va = _mm_setzero_si128(), vb = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        va = _mm_add_epi64(va, _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i)));
        vb = _mm_add_epi64(vb, va);
    }
    std::uint64_t lanes[4];
    _mm_storeu_si128(reinterpret_cast<__m128i *>(lanes), va);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(lanes + 2), vb);
    a = lanes[0] * 3 + lanes[1];
    b = lanes[2] * 5 + lanes[3];
#endif
    for (; i < n; ++i) {
        a += p[i];
        b += a;
    }
    return size_t(a ^ (b * 0x9E3779B97F4A7C15ULL) ^ std::uint64_t(n));
}

bool PendingCode::isFile(QByteArrayView bytes) const
{
    return bytes.size() == size && ide::fingerprint(bytes) == fingerprint;
}

code::ModuleCode buildCode(const files::MixedLines &lines, int codeFirstFileLine)
{
    std::vector<code::ModuleCode::SourceLine> codeLines;
    codeLines.reserve(lines.lines.size());
    for (qsizetype k = codeFirstFileLine - 1; k < lines.size(); ++k) {
        const files::MixedLines::Line &line = lines.lines[size_t(k)];
        if (line.ascii)
            codeLines.push_back({lines.bytes.data() + line.start, line.size, true});
        else
            codeLines.push_back({lines.utf16(k).utf16(), line.size, false});
    }
    return code::ModuleCode(codeLines, codeFirstFileLine);
}

Ptr<ProjectImpl> loadProjectFile(const std::shared_ptr<IdeState> &state, const QString &path)
{
    auto &diags = state->diagnostics;
    const files::FileSystem &fs = *state->fileSystem;
    std::vector<files::Diagnostic> parseDiags;
    auto sources = files::readProjectSources(fs, path, state->codePage, parseDiags, state->loadThreads,
                                             files::MemberReads::ByCaller);
    if (!sources) {
        diags.insert(diags.end(), parseDiags.begin(), parseDiags.end());
        return nullptr;
    }
    const files::ProjectFile &vbp = sources->project;
    if (!vbp.hasType) {
        // What its lines hold is no project's business: one message says it all.
        diags.push_back({path, 0, QStringLiteral("Not a Visual Basic project file: no Type= line.")});
        return nullptr;
    }
    const files::CodePage codePage = sources->codePage;
    const QString dir = folderOf(path);
    auto &pending = sources->members;

    auto project = std::make_shared<ProjectImpl>(state);
    ProjectImpl::Data data;
    data.name = vbp.name.isEmpty() ? QStringLiteral("Project1") : vbp.name;
    data.fileName = path;
    data.type = host::ProjectType(std::clamp(vbp.type, 0, 3));
    data.description = vbp.description;
    data.helpFile = vbp.helpFile;
    data.helpContextId = vbp.helpContextId;
    data.codePage = codePage;
    data.startup = vbp.startup;
    data.title = vbp.title;
    data.objects = vbp.objects;
    {
        QString exe = vbp.exeName32;
        if (exe.isEmpty()) {
            static const char *ext[] = {".exe", ".exe", ".dll", ".ocx"};
            exe = data.name + QLatin1String(ext[int(data.type)]);
        }
        QString folder = dir;
        if (!vbp.path32.isEmpty()) {
            QString p32 = vbp.path32;
            p32.replace(QLatin1Char('\\'), QLatin1Char('/'));
            folder = QFileInfo(p32).isAbsolute() || p32.contains(QLatin1Char(':')) ? p32 : dir + QLatin1Char('/') + p32;
        }
        data.buildFileName = QDir::cleanPath(folder + QLatin1Char('/') + exe);
    }
    project->init(data);

    auto &refs = *project->referenceList();
    addBuiltInReferences(refs);
    for (const auto &line : vbp.references) {
        ReferenceImpl::Data r;
        r.description = line.description;
        r.guid = line.guid;
        r.major = line.major;
        r.minor = line.minor;
        if (line.isProject) {
            r.kind = host::ReferenceKind::Project;
            const QString resolved = fs.resolve(dir, line.path);
            r.fullPath = resolved.isEmpty() ? line.path : resolved;
            r.isBroken = resolved.isEmpty();
            QString base = baseName(line.path);
            r.name = base.left(base.lastIndexOf(QLatin1Char('.')) < 0 ? base.size() : base.lastIndexOf(QLatin1Char('.')));
        } else {
            QString libPath = line.path;
            // "MSVBVM60.DLL\3": a resource index, not a folder
            static const QRegularExpression resourceIndex(QStringLiteral("\\\\\\d+$"));
            libPath.remove(resourceIndex);
            const QString resolved = libPath.isEmpty() ? QString() : fs.resolve(dir, libPath);
            const char *known = knownLibrary(line.guid);
            r.fullPath = resolved.isEmpty() ? line.path : resolved;
            r.isBroken = !known && resolved.isEmpty();
            if (known) {
                r.name = QLatin1String(known);
            } else {
                QString base = baseName(libPath);
                const int dot = base.lastIndexOf(QLatin1Char('.'));
                r.name = dot < 0 ? base : base.left(dot);
                if (r.name.isEmpty())
                    r.name = line.description;
            }
        }
        refs.append(std::make_shared<ReferenceImpl>(r));
    }

    auto &components = *project->components();
    // Names of the components added so far, by a key that names equal under a case-insensitive
    // compare share; comparing with every component instead made large projects quadratic.
    QHash<QString, QStringList> loadedNames;
    loadedNames.reserve(qsizetype(pending.size()));
    std::vector<BuiltMember> built = buildMembers(fs, *sources, state->loadThreads, state->passByText);
    std::vector<std::pair<std::size_t, files::Diagnostic>> readFailures;
    for (size_t k = 0; k < pending.size(); ++k)
        if (built[k].readFailure)
            readFailures.emplace_back(pending[k].failureAt, std::move(*built[k].readFailure));
    files::placeReadFailures(parseDiags, std::move(readFailures));
    for (size_t k = 0; k < pending.size(); ++k) {
        BuiltMember &b = built[k];
        if (b.failure)
            std::rethrow_exception(b.failure);
        if (b.readFailure)
            continue;
        parseDiags.insert(parseDiags.end(), std::make_move_iterator(b.diagnostics.begin()),
                          std::make_move_iterator(b.diagnostics.end()));
        ComponentImpl::Data c = std::move(b.data);
        const auto &p = pending[k];
        QStringList &sameKey = loadedNames[nameKey(c.name)];
        const bool duplicate = std::any_of(sameKey.begin(), sameKey.end(), [&](const QString &other) {
            return other.compare(c.name, Qt::CaseInsensitive) == 0;
        });
        if (duplicate) {
            parseDiags.push_back({p.path, 0,
                                  QStringLiteral("A component named %1 is already loaded; this file is skipped.")
                                      .arg(files::detail::printable(c.name))});
            continue;
        }
        sameKey.append(c.name);
        auto component = std::make_shared<ComponentImpl>(project, state, project->liveness());
        component->init(std::move(c));
        components.append(component);
    }
    diags.insert(diags.end(), parseDiags.begin(), parseDiags.end());
    return project;
}

Ptr<ProjectImpl> ProjectsImpl::loadProject(const QString &path)
{
    auto project = loadProjectFile(m_state, path);
    if (!project)
        return nullptr;
    for (const auto &other : m_items) {
        if (other->name().compare(project->name(), Qt::CaseInsensitive) == 0) {
            m_state->diagnostics.push_back(
                {path, 0, QStringLiteral("A project named %1 is already loaded; this project is not loaded.")
                              .arg(files::detail::printable(project->name()))});
            return nullptr;
        }
    }
    m_items.push_back(project);
    return project;
}

std::vector<Ptr<host::VBProject>> ProjectsImpl::load(const QString &fileName)
{
    std::vector<Ptr<host::VBProject>> added;
    const files::FileSystem &fs = *m_state->fileSystem;
    const files::FileSystem::ListingScope listings(fs);
    const QString path = fileName;
    if (fs.isDirectory(path)) {
        m_state->diagnostics.push_back({path, 0, QStringLiteral("Is a directory, not a project file.")});
        return added;
    }
    auto vbe = m_state->vbe.lock();
    auto announce = [&](const Ptr<ProjectImpl> &project) {
        added.push_back(project);
        if (vbe) {
            if (!vbe->activeVBProject())
                vbe->setActiveProject(project);
            vbe->eventHub()->projectAdded(project);
        }
    };

    if (path.endsWith(QLatin1String(".vbg"), Qt::CaseInsensitive)) {
        auto group = files::readGroupSources(fs, path, m_state->codePage, m_state->diagnostics);
        if (!group)
            return added;
        m_groupFile = path;
        for (const QString &projectPath : group->projectPaths) {
            if (auto project = loadProject(projectPath)) {
                if (projectPath == group->startupPath)
                    m_start = project;
                announce(project);
            }
        }
        if (added.empty())
            m_state->diagnostics.push_back({path, 0, QStringLiteral("No project of the group could be loaded.")});
    } else if (auto project = loadProject(path)) {
        announce(project);
    }
    if (vbe)
        vbe->setLastUsedPath(folderOf(path));
    m_state->notify();
    return added;
}

std::vector<Ptr<host::VBProject>> ProjectsImpl::addFromFile(const QString &fileName, bool exclusive)
{
    m_state->seam("VBProjects.AddFromFile");
    if (exclusive) {
        while (!m_items.empty())
            remove(m_items.back());
    }
    const std::size_t before = m_state->diagnostics.size();
    auto added = load(fileName);
    if (added.empty()) {
        QString why = before < m_state->diagnostics.size() ? m_state->diagnostics[before].message : QString();
        throw Error(err::FileNotFound, QStringLiteral("%1: %2").arg(fileName, why));
    }
    return added;
}

void ProjectsImpl::remove(const Ptr<host::VBProject> &project)
{
    m_state->seam("VBProjects.Remove");
    auto it = std::find_if(m_items.begin(), m_items.end(),
                           [&](const Ptr<ProjectImpl> &p) { return p.get() == project.get(); });
    if (it == m_items.end())
        throw Error(err::SubscriptOutOfRange);
    auto keep = *it;
    auto vbe = m_state->vbe.lock();
    // Handlers still read the project while ItemRemoved runs.
    if (vbe)
        vbe->eventHub()->projectRemoved(keep);
    m_items.erase(std::find(m_items.begin(), m_items.end(), keep));
    if (vbe)
        vbe->forgetProject(keep.get());
    keep->liveness()->removed = true;
    m_state->notify();
}

} // namespace ide
