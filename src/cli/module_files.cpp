#include "cli/module_files.h"

#include "ide/shell/impl.h"

#include <QDir>

namespace cli {

QString moduleFile(const host::VBComponent &component, bool relative)
{
    if (component.fileCount() == 0)
        return {};
    const QString file = component.fileNames(1);
    return relative ? QDir::current().relativeFilePath(file) : file;
}

int fileLineOf(const host::Ptr<host::CodeModule> &module, int paneLine)
{
    if (paneLine <= 0 || !module)
        return 0;
    const auto impl = std::dynamic_pointer_cast<ide::CodeModuleImpl>(module);
    return impl ? impl->code().fileLineOf(paneLine) : paneLine;
}

} // namespace cli
