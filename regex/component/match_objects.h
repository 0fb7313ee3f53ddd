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

// The value of match (from 0) of a collection this component made, or of its group (from 1;
// 0 the whole match), as a new program text, read straight from the collection: what a text
// conversion of the value read through automation gives, null for an empty value or a group
// that took no part. False, with text unchanged, when collection is not one of this
// component's or match or group names none.
bool ReadMatchText(IUnknown *collection, int32_t match, uint32_t group, char **text);

} // namespace RegExpComponent
