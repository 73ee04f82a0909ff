#include "title_probe.h"

#include "rcp_title.h"
#include "reader_choice.h"
#include "smf_title.h"

namespace loader {

IoStatus ProbeTitle(const ShortText &fileName, CodePage codePage, ShortText &title)
{
    const TitleReader reader = ChooseTitleReader(fileName, codePage);
    if (reader == TitleReader::None)
        return IoStatus();
    if (fileName.HasZeroByte())
        return OpenFailure(SONOLUX_IO_INVALID_NAME);
    return reader == TitleReader::Smf ? ReadSmfTitle(fileName.Bytes(), title)
                                      : ReadRcpTitle(fileName.Bytes(), title);
}

} // namespace loader
