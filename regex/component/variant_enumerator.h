// VariantEnumerator: the IEnumVARIANT that a collection's _NewEnum hands out (what For Each
// walks), over copies of the collection's items taken when it was made.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <vector>

namespace RegExpComponent {

// A new enumerator over items (each copied with VariantCopy); null when a copy fails. The
// caller owns the one reference.
IEnumVARIANT *NewVariantEnumerator(const std::vector<VARIANT> &items);

} // namespace RegExpComponent
