#pragma once

#include <cstdint>
#include <string>

#include "document/clipboard_port.h"
#include "document/document.h"

namespace kelno {

// How far Copy moves what it copies (right and down), so that a pasted copy stands beside
// the original rather than on it.
inline constexpr std::int32_t kCopyOffset = 50;

// Whether the commands can act (their menu entries are enabled exactly then).
// Copy: elements are selected and no point is.
bool CanCopy(const Document& document);
// Cut: elements are selected and no point is; or the selected point joins a wire to one
// other element and can be taken out by stretching that element over the wire.
bool CanCut(const Document& document);
// Paste: the clipboard's text begins with the word "KelnoData".
bool CanPaste(const ClipboardPort& clipboard);

// Puts the selected elements on the clipboard as text, moved by `offset`. Returns false
// (and leaves the clipboard alone) when there is nothing to copy.
bool Copy(const Document& document, ClipboardPort& clipboard, std::int32_t offset = kCopyOffset);

// Copies the selection unmoved, then removes the selected elements with the points left
// unused; or, with a point selected between a wire and another element, removes the point
// and the wire and stretches the other element to the wire's far end. One undo state;
// the circuit is analysed again. Returns false when nothing was removed.
bool Cut(Document& document, ClipboardPort& clipboard);

// Adds the elements of the clipboard's text as new points and elements, selects them and
// puts them back on the clipboard moved by kCopyOffset, so that the next paste lands a
// step further. Text that cannot be read completely changes nothing: no undo state, no
// partial circuit, the clipboard as it was; then `error` (if given) says why, unless the
// clipboard held no text at all. One undo state; the circuit is analysed again.
bool Paste(Document& document, ClipboardPort& clipboard, std::string* error = nullptr);

}  // namespace kelno
