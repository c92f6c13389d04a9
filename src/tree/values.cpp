// Typed values of a node, typed iteration over children and siblings, text runs.
#include "zel/oid.h"
#include "zel/parser.h"

namespace {

// Bits of the object types accepted by an iterator.
constexpr int Bit(int type) { return 1 << type; }
const int kStrtok = Bit(zelKW_STRTOK);
const int kIdent = Bit(zelKW_IDENT);
const int kName = kStrtok | kIdent;
const int kInt = Bit(zelKW_INTTOK);
const int kReal = Bit(zelKW_REALTOK);
const int kNumber = kInt | kReal;
const int kLiteral = Bit(zelKW_LIT);

const CZelOid* Accept(const CZelOid* node, int types)
{
    if (!node || node->GetObjType() < 0 || node->GetObjType() > 30)
        return nullptr;
    return (types & Bit(node->GetObjType())) ? node : nullptr;
}

const CZelOid* DeliverText(const CZelOid* node, const char** value)
{
    if (node && value)
        *value = node->GetIdent();
    return node;
}

const CZelOid* DeliverText(const CZelOid* node, CString& value)
{
    if (node)
        value = node->GetIdent();
    return node;
}

}  // namespace

bool CZelOid::HasText() const
{
    const int type = GetObjType();
    return m_sem >= 0 && Dlink && (type == zelKW_STRTOK || type == zelKW_IDENT);
}

const char* CZelOid::GetIdent() const { return HasText() ? static_cast<const char*>(Dlink) : nullptr; }

const char* CZelOid::GetStrval() const { return GetIdent(); }

const char* CZelOid::GetName() const { return GetIdent(); }

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

const CZelOid* CZelOid::GetFirstInttok(int* value) const
{
    const CZelOid* node = Accept(Clink, kInt);
    if (node && value)
        *value = node->GetIntval();
    return node;
}

const CZelOid* CZelOid::GetNextInttok(int* value) const
{
    const CZelOid* node = Accept(Nlink, kInt);
    if (node && value)
        *value = node->GetIntval();
    return node;
}

const CZelOid* CZelOid::GetFirstRealtok(double* value) const
{
    const CZelOid* node = Accept(Clink, kReal);
    if (node && value)
        *value = node->GetRealval();
    return node;
}

const CZelOid* CZelOid::GetNextRealtok(double* value) const
{
    const CZelOid* node = Accept(Nlink, kReal);
    if (node && value)
        *value = node->GetRealval();
    return node;
}

const CZelOid* CZelOid::GetFirstNumber(double* value) const
{
    const CZelOid* node = Accept(Clink, kNumber);
    if (node && value)
        *value = node->GetNumberval();
    return node;
}

const CZelOid* CZelOid::GetNextNumber(double* value) const
{
    const CZelOid* node = Accept(Nlink, kNumber);
    if (node && value)
        *value = node->GetNumberval();
    return node;
}

const CZelOid* CZelOid::GetFirstLiteral(int* value) const
{
    const CZelOid* node = Accept(Clink, kLiteral);
    if (node && value)
        *value = node->GetLitval();
    return node;
}

const CZelOid* CZelOid::GetNextLiteral(int* value) const
{
    const CZelOid* node = Accept(Nlink, kLiteral);
    if (node && value)
        *value = node->GetLitval();
    return node;
}

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
