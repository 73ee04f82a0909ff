#include "archiveroptions.h"

namespace archives {

void TArchiverOptions::Reset()
{
    *this = TArchiverOptions();
}

void TArchiverOptions::AssignTo(TArchiverOptions &dest) const
{
    if (&dest != this)
        dest = *this;
}

} // namespace archives
