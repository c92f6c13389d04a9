// A replay of one form's children as the form parser reads them back from written text.
#ifndef ZEL_EDIT_READ_BACK_H
#define ZEL_EDIT_READ_BACK_H

class CZelOid;

namespace zel {

// Where a replay stands in the token stream of one form's content: the children as the
// writer writes them, optionally with the text of the line buffer read in front of one of
// them, and the form's ")".
struct ChildReplay {
    const CZelOid* next = nullptr;     // the next child to be read
    const CZelOid* current = nullptr;  // the child whose token is current; null for a token of the text
    const CZelOid* textAt = nullptr;   // the child in front of which the text is read; null: after the last
    const CZelOid* skip = nullptr;     // a child left out of the stream, or null
    bool withText = false;             // the line buffer holds text to read at textAt
    bool textDone = false;             // the text has been read to its end
    bool closed = false;               // the form's ")" has been read
    bool iterative = false;            // levels yield as the iterative engine's do
    CZelOid* first = nullptr;          // nodes made from the text, in order
    CZelOid* last = nullptr;
};

}  // namespace zel

#endif
