#pragma once
// The archive layer as its callers use it: TArchiveFile with its options, the member record
// of a listing, and the layer's exception.

#include "archivefile.h"
#include "archiveroptions.h"
#include "earchiver.h"
#include "individualinfo.h"
