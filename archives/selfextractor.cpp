#include "selfextractor.h"

#include "filters.h"
#include "platform/files.h"

namespace archives {

std::string SelfExtractorName(const std::string &archiveName, const std::string &folder)
{
    const std::string executable = platform::ChangeFileExt(archiveName, ".EXE");
    if (folder.empty())
        return executable;
    // A file-system path: joined with the platform's delimiter, so the executable lands
    // inside folder.
    return JoinPath(folder, platform::ExtractFileName(executable), platform::PathDelimiter);
}

std::string WriteSelfExtractor(const std::string &headPath, const std::string &archiveName,
                               const std::string &folder)
{
    const std::string archive = platform::ReadFile(archiveName);
    const std::string head = platform::ReadFile(headPath);
    const std::string executable = SelfExtractorName(archiveName, folder);
    platform::WriteFileAtomic(executable, head + archive);
    return executable;
}

} // namespace archives
