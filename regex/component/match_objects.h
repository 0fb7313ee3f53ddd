// The objects Execute hands out: the match collection, each match, and a match's sub-matches.
// Each keeps alive exactly the match records it reads, so a match outlives its collection and
// sub-matches outlive their match.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <memory>

#include "regex/component/match_record.h"
#include "regex/component/regexp_type_library.h"

namespace RegExpComponent {

// A new match collection over matches; the caller owns the one reference.
IDispatch *NewMatchCollection(std::shared_ptr<const TypeLibrary> types,
                              std::shared_ptr<const MatchList> matches);

} // namespace RegExpComponent
