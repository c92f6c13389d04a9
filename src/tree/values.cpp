// Typed values of a node, typed iteration over children and siblings, text runs.
#include "zel/oid.h"
#include "zel/parser.h"
#include "tree/node_fields.h"

namespace {

// Bits of the object types accepted by an iterator.
constexpr int Bit(int type) { return 1 << type; }
const int kStrtok = Bit(zelKW_STRTOK);
const int kIdent = Bit(zelKW_IDENT);
const int kName = kStrtok | kIdent | Bit(zelKW_WORDTOK);
const int kInt = Bit(zelKW_INTTOK);
const int kReal = Bit(zelKW_REALTOK);
const int kNumber = kInt | kReal;
const int kLiteral = Bit(zelKW_LIT);

const CZelOid* Accept(const CZelOid* node, int types)
{
    const int type = node ? node->GetObjType() : -1;
    return type >= 0 && type < 31 && (types & Bit(type)) ? node : nullptr;
}

const CZelOid* DeliverText(const CZelOid* node, const char** value)
{
    if (node && value)
        *value = node->GetName();
    return node;
}

template <typename T>
const CZelOid* Deliver(const CZelOid* node, T* value, T (CZelOid::*get)() const)
{
    if (node && value)
        *value = (node->*get)();
    return node;
}

const CZelOid* DeliverText(const CZelOid* node, CString& value)
{
    if (node)
        value = node->GetName();
    return node;
}

}  // namespace

bool zel::HasText(const CZelOid* node)
{
    const int type = node->GetObjType();
    return SemOf(node) >= 0 && ValueOf(node) && (type == zelKW_STRTOK || type == zelKW_IDENT || type == zelKW_WORDTOK);
}

const char* CZelOid::GetIdent() const
{
    return zel::HasText(this) && GetObjType() != zelKW_WORDTOK ? static_cast<const char*>(Dlink) : nullptr;
}

const char* CZelOid::GetStrval() const { return GetIdent(); }

const char* CZelOid::GetName() const { return zel::HasText(this) ? static_cast<const char*>(Dlink) : nullptr; }

int CZelOid::GetIntval() const
{
    if (m_sem < 0 || !Dlink || GetObjType() != zelKW_INTTOK)
        return 0;
    return *static_cast<const int*>(Dlink);
}

double CZelOid::GetRealval() const
{
    if (m_sem < 0 || !Dlink || GetObjType() != zelKW_REALTOK)
        return 0.0;
    return *static_cast<const double*>(Dlink);
}

double CZelOid::GetNumberval() const
{
    return GetObjType() == zelKW_REALTOK ? GetRealval() : static_cast<double>(GetIntval());
}

int CZelOid::GetLitval() const { return GetKeywordId(); }

const CZelOid* CZelOid::GetFirstStrtok(const char** value) const { return DeliverText(Accept(Clink, kStrtok), value); }
const CZelOid* CZelOid::GetFirstStrtok(CString& value) const { return DeliverText(Accept(Clink, kStrtok), value); }
const CZelOid* CZelOid::GetNextStrtok(const char** value) const { return DeliverText(Accept(Nlink, kStrtok), value); }
const CZelOid* CZelOid::GetNextStrtok(CString& value) const { return DeliverText(Accept(Nlink, kStrtok), value); }
const CZelOid* CZelOid::GetFirstIdent(const char** value) const { return DeliverText(Accept(Clink, kIdent), value); }
const CZelOid* CZelOid::GetFirstIdent(CString& value) const { return DeliverText(Accept(Clink, kIdent), value); }
const CZelOid* CZelOid::GetNextIdent(const char** value) const { return DeliverText(Accept(Nlink, kIdent), value); }
const CZelOid* CZelOid::GetNextIdent(CString& value) const { return DeliverText(Accept(Nlink, kIdent), value); }
const CZelOid* CZelOid::GetFirstName(const char** value) const { return DeliverText(Accept(Clink, kName), value); }
const CZelOid* CZelOid::GetFirstName(CString& value) const { return DeliverText(Accept(Clink, kName), value); }
const CZelOid* CZelOid::GetNextName(const char** value) const { return DeliverText(Accept(Nlink, kName), value); }
const CZelOid* CZelOid::GetNextName(CString& value) const { return DeliverText(Accept(Nlink, kName), value); }

const CZelOid* CZelOid::GetFirstInttok(int* value) const { return Deliver(Accept(Clink, kInt), value, &CZelOid::GetIntval); }
const CZelOid* CZelOid::GetNextInttok(int* value) const { return Deliver(Accept(Nlink, kInt), value, &CZelOid::GetIntval); }
const CZelOid* CZelOid::GetFirstRealtok(double* value) const { return Deliver(Accept(Clink, kReal), value, &CZelOid::GetRealval); }
const CZelOid* CZelOid::GetNextRealtok(double* value) const { return Deliver(Accept(Nlink, kReal), value, &CZelOid::GetRealval); }
const CZelOid* CZelOid::GetFirstNumber(double* value) const { return Deliver(Accept(Clink, kNumber), value, &CZelOid::GetNumberval); }
const CZelOid* CZelOid::GetNextNumber(double* value) const { return Deliver(Accept(Nlink, kNumber), value, &CZelOid::GetNumberval); }
const CZelOid* CZelOid::GetFirstLiteral(int* value) const { return Deliver(Accept(Clink, kLiteral), value, &CZelOid::GetLitval); }
const CZelOid* CZelOid::GetNextLiteral(int* value) const { return Deliver(Accept(Nlink, kLiteral), value, &CZelOid::GetLitval); }

int CZelOid::GetStrtokList(CStringList& list) const
{
    int count = 0;
    const char* text = nullptr;
    for (const CZelOid* n = GetFirstStrtok(&text); n; n = n->GetNextStrtok(&text), ++count)
        list.AddTail(text);
    return count;
}

int CZelOid::GetNextStrtokList(CStringList& list) const
{
    int count = 0;
    const char* text = nullptr;
    for (const CZelOid* n = GetNextStrtok(&text); n; n = n->GetNextStrtok(&text), ++count)
        list.AddTail(text);
    return count;
}

int CZelOid::GetIdentList(CStringList& list) const
{
    int count = 0;
    const char* text = nullptr;
    for (const CZelOid* n = GetFirstIdent(&text); n; n = n->GetNextIdent(&text), ++count)
        list.AddTail(text);
    return count;
}
