// Small string, string-list and string-map types that cross the zel interface.
#ifndef ZEL_PLATFORM_H
#define ZEL_PLATFORM_H

#include <cstddef>
#include <string>
#include <unordered_map>

#include "zel/export.h"

// A growable text. Converts to const char* implicitly; never holds a null text.
class ZEL_API CString {
public:
    CString();
    CString(const char* text);  // null reads as ""
    CString(const CString& other);
    CString& operator=(const CString& other);
    CString& operator=(const char* text);  // null reads as ""
    ~CString();

    // Returns the number of characters.
    int GetLength() const;
    // Returns true when the text is empty.
    bool IsEmpty() const;
    // Returns a writable buffer of at least minLength characters plus a NUL; call
    // ReleaseBuffer after writing into it to fix the length.
    char* GetBuffer(int minLength = 0);
    // Takes the length from the buffer's NUL (newLength -1) or from newLength.
    void ReleaseBuffer(int newLength = -1);
    // Replaces the text with printf-style formatted output.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void MakeUpper();  // letters a to z only
    void MakeLower();  // letters A to Z only

    operator const char*() const { return m_text.c_str(); }
    bool operator==(const CString& other) const { return m_text == other.m_text; }
    bool operator==(const char* text) const;
    bool operator!=(const CString& other) const { return !(*this == other); }
    bool operator!=(const char* text) const { return !(*this == text); }

private:
    std::string m_text;
};

// Position of an element in a CStringList; null past the end.
struct CStringListNode;
typedef CStringListNode* POSITION;

// A list of texts, walked from head to tail. The list owns its copies of the texts.
class ZEL_API CStringList {
public:
    CStringList();
    ~CStringList();
    CStringList(const CStringList&) = delete;
    CStringList& operator=(const CStringList&) = delete;

    // Appends a copy of the text; returns its position.
    POSITION AddTail(const char* text);
    POSITION AddTail(const CString& text);
    // Removes the first text and returns it; an empty list returns "".
    CString RemoveHead();
    // Returns the first text; an empty list returns "".
    const CString& GetHead() const;
    int GetCount() const;
    bool IsEmpty() const;
    // Returns the position of the first text, or null for an empty list.
    POSITION GetHeadPosition() const;
    // Returns the text at pos and moves pos to the next element (null at the end).
    const CString& GetNext(POSITION& pos) const;
    void RemoveAll();

private:
    CStringListNode* m_head;
    CStringListNode* m_tail;
    int m_count;
};

// A map from text to pointer. Keys compare exactly, letter case included.
class ZEL_API CMapStringToPtr {
public:
    explicit CMapStringToPtr(int blockSize = 10);
    virtual ~CMapStringToPtr();

    // Returns the value under key, inserting a null value when the key is new.
    void*& operator[](const char* key);
    // Returns true and sets value when key is present; false otherwise.
    bool Lookup(const char* key, void*& value) const;
    // Removes key; returns true when it was present.
    bool RemoveKey(const char* key);
    // Removes every key whose value is value; returns how many went.
    int RemoveValue(void* value);
    void RemoveAll();
    int GetCount() const;

private:
    std::unordered_map<std::string, void*> m_map;
};

#endif
