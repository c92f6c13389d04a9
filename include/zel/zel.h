// zel: grammar-driven reading, editing and writing of parenthesised form files.
// Include this header to get the whole interface.
#ifndef ZEL_ZEL_H
#define ZEL_ZEL_H

#include "zel/version.h"
#include "zel/export.h"
#include "zel/grammar.h"
#include "zel/diag.h"
#include "zel/platform.h"
#include "zel/parser.h"
#include "zel/oid.h"
#include "zel/compiler.h"

#endif
