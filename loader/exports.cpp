// The module's two entries. Each copies its inputs, does its work and reports a failure
// as a result code with the message text in the output buffer.

#include "sonolux_module.h"

#include "code_page.h"
#include "header_check.h"
#include "messages.h"
#include "short_string.h"
#include "title_probe.h"

using namespace loader;

extern "C" int ComLoad(unsigned char *title, const unsigned char *fileName)
{
    if (title == nullptr)
        return SONOLUX_IO_INVALID_NAME;
    const ShortText name(fileName);
    const CodePage codePage = ProcessCodePage();
    title[0] = 0;
    if (fileName == nullptr) {
        StoreIoErrorMessage(title, SONOLUX_IO_INVALID_NAME, codePage);
        return SONOLUX_IO_INVALID_NAME;
    }

    ShortText text;
    const IoStatus status = ProbeTitle(name, codePage, text);
    if (status.Failed()) {
        if (status.atOpen)
            StoreOpenErrorMessage(title, name, codePage);
        else
            StoreIoErrorMessage(title, status.code, codePage);
        return status.code;
    }
    text.StoreTo(title);
    return 0;
}

extern "C" int MacCheck(unsigned char *result, const unsigned char *fileName,
                        const unsigned char *folder)
{
    if (result == nullptr)
        return SONOLUX_IO_INVALID_NAME;
    const ShortText source(fileName);
    const ShortText workFolder(folder);
    const CodePage codePage = ProcessCodePage();
    if (fileName == nullptr || folder == nullptr) {
        StoreIoErrorMessage(result, SONOLUX_IO_INVALID_NAME, codePage);
        return SONOLUX_IO_INVALID_NAME;
    }

    ShortText playName;
    const IoStatus status = CheckForeignHeader(source, workFolder, playName);
    if (status.Failed()) {
        StoreIoErrorMessage(result, status.code, codePage);
        return status.code;
    }
    playName.StoreTo(result);
    return 0;
}
