#!/usr/bin/env bash
# Compares what two builds of the zel tool print. The "run" mode runs one tool over a fixed
# set of inputs and records every run in a directory; "diff" compares two such directories;
# "both" does both for two tools, in temporary directories.
#
# The inputs: the example grammars and documents, every file of the fuzz corpora (as it
# stands and, where a fuzz target reads a document out of it, that document alone), the
# grammar corpus split into grammar and sample, and large, deep, wide and lexically hostile
# files that this script writes itself. A document is read under its own grammar with tree
# and fmt, both engines, under each setting (plain, extended, escape, extended with escape,
# a one-entry starting stack), and with check and tree --objects plainly; under the other
# grammars with tree. The large files get a smaller set, and only outputs that stay linear
# in their size. Grammars go through gen. There are also runs of fmt -i on copies, runs on
# standard input and runs with bad command lines.
#
# Each run is one file in the output directory, named after the command, engine, setting,
# grammar and input; it holds the command line, the exit status, stdout and stderr. The
# tool runs from a staging directory with relative names, so no run depends on where the
# inputs or outputs live. The object table of tree --objects shows node addresses; each
# address is replaced by its order of first appearance (@1, @2, ...), which keeps the links
# between nodes comparable. An output over 256 KiB is kept as its size, line count, SHA-256
# and its first and last 4 KiB. A run that takes over 30 s is stopped and recorded with
# exit status 124.
#
# usage: tests/compare_output.sh run ZEL OUTDIR      record the runs of the tool ZEL
#        tests/compare_output.sh diff DIR_A DIR_B    compare two records; exit 1 on a difference
#        tests/compare_output.sh both ZEL_A ZEL_B    both runs and the comparison (temp dirs,
#                                                    kept and named when they differ)
# ZEL is the tool as built (BUILD/bin/zel); it runs with BUILD on LD_LIBRARY_PATH, so that
# each tool loads the library it was built with.
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
limit=30            # seconds a run may take before it counts as hung (exit 124)
largest=$((256 * 1024))

usage() {
  sed -n '/^# usage:/,/^# ZEL is/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
  exit 2
}

# --- Recording

# Replaces a large output by its size, line count, SHA-256 and its first and last 4 KiB.
summarise() {
  local file=$1 size
  size=$(stat -c %s "$file")
  [ "$size" -gt "$largest" ] || return 0
  {
    printf '<%d bytes, %d lines, sha256 %s>\n<first 4 KiB>\n' "$size" "$(wc -l <"$file")" \
      "$(sha256sum <"$file" | cut -d' ' -f1)"
    head -c 4096 "$file"
    printf '\n<last 4 KiB>\n'
    tail -c 4096 "$file"
    printf '\n'
  } >"$file.summary"
  mv "$file.summary" "$file"
}

# Replaces every address in an object table by the order of its first appearance.
number_addresses() {
  perl -pi -e 's/0x[0-9a-f]+/$seen{$&} \/\/= "@" . ++$count/ge' "$1"
}

runs=0
large=0  # set while reading the large inputs: their outputs are summarised

# record NAME STDIN ARG...: runs the tool with ARG... from the staging directory, standard
# input from STDIN, and writes the record OUTDIR/NAME. Few processes per run: the tool, its
# time limit and one cat.
record() {
  local name=$1 input=$2 status=0 arg
  shift 2
  timeout "$limit" "$zel" "$@" <"$input" >"$scratch/out" 2>"$scratch/err" || status=$?
  case " $* " in *" --objects "*) number_addresses "$scratch/out" ;; esac
  if [ "$large" = 1 ]; then
    summarise "$scratch/out"
    summarise "$scratch/err"
  fi
  {
    printf '$ zel'
    for arg in "$@"; do printf ' %q' "$arg"; done
    printf '\nexit %d\n--- stdout\n' "$status"
  } >"$scratch/head"
  printf -- '--- stderr\n' >"$scratch/middle"
  cat "$scratch/head" "$scratch/out" "$scratch/middle" "$scratch/err" >"$outdir/$name"
  runs=$((runs + 1))
}

# The settings a document is read under, and their options.
settings="plain extended escape extended-escape stack1"
setting_options() {
  case $1 in
    plain) options=() ;;
    extended) options=(--extended) ;;
    escape) options=(--escape '\') ;;
    extended-escape) options=(--extended --escape '\') ;;
    stack1) options=(--stack 1) ;;
  esac
}

# A staged file's name as part of a record's name.
tag() { local t=${1//\//_}; tagged=${t//./-}; }

# read_document GRAMMAR DOCUMENT COMMANDS SETTINGS: each command under each setting with
# both engines. tree-objects is tree --objects.
read_document() {
  local grammar=$1 document=$2 commands=$3 chosen=$4 command setting engine prefix
  tag "${grammar##*/}"
  prefix=$tagged
  tag "$document"
  prefix=$prefix.$tagged
  for command in $commands; do
    for setting in $chosen; do
      setting_options "$setting"
      for engine in recursive iterative; do
        local args=("${command%-objects}" --engine "$engine" "${options[@]}" -g "$grammar")
        [ "$command" = tree-objects ] && args+=(--objects)
        record "$command.$engine.$setting.$prefix" /dev/null "${args[@]}" "$document"
      done
    done
  done
}

# Under the document's own grammar: tree and fmt under every setting, check and the object
# table plainly. The escape character changes only text that holds it, so a document
# without one is not read again with it. Under another grammar: tree, plainly.
read_fully() {
  local chosen=$settings
  grep -qF '\' "$2" || chosen="plain extended stack1"
  read_document "$1" "$2" "tree fmt" "$chosen"
  read_document "$1" "$2" "check tree-objects" plain
}
read_lightly() { read_document "$1" "$2" tree plain; }

# --- The inputs, written into the staging directory

# N copies of TEXT, on one line or on N lines (yes stops on the closed pipe: not a failure).
repeat() { { yes -- "$2" || true; } | head -n "$1" | tr -d '\n'; }
lines() { { yes -- "$2" || true; } | head -n "$1"; }

stage_examples_and_corpora() {
  mkdir -p examples corpus body grammar-corpus
  cp -r "$root/examples/netlist" "$root/examples/drawing" examples/
  local target file seed
  for target in "$root"/fuzz/corpus/*; do
    mkdir -p "corpus/${target##*/}"
    cp "$target"/* "corpus/${target##*/}/"
  done
  # The document each fuzz target reads: after the mode byte (parse), after the mode byte
  # up to a NUL byte (roundtrip), or the length-prefixed text after the table changes
  # (tables: a mode byte, a count byte, three bytes for each of count % 6 changes).
  for file in corpus/parse/*; do tail -c +2 "$file" >"body/parse-${file##*/}"; done
  for file in corpus/roundtrip/*; do
    tail -c +2 "$file" | { IFS= read -r -d '' text || true; printf '%s' "$text"; } >"body/roundtrip-${file##*/}"
  done
  for file in corpus/tables/*; do
    local bytes=($(od -An -v -tu1 "$file")) at
    at=$((2 + 3 * (${bytes[1]:-0} % 6)))
    tail -c +$((at + 2)) "$file" | head -c "${bytes[$at]:-0}" >"body/tables-${file##*/}"
  done
  # Many seeds hold the same document: each document is kept once.
  local seen=" " sum
  for file in body/*; do
    sum=$(cksum <"$file")
    case $seen in *" ${sum// /-} "*) rm "$file" ;; *) seen="$seen${sum// /-} " ;; esac
  done
  # The grammar corpus: the grammar, a NUL byte, a sample.
  for file in corpus/grammar/*; do
    seed=${file##*/}
    { IFS= read -r -d '' text || true; printf '%s' "$text"; } <"$file" >"grammar-corpus/$seed.zelg"
    { IFS= read -r -d '' text || true; cat; } <"$file" >"grammar-corpus/$seed.sample"
  done
}

# Small files that are awkward for the reader: odd bytes, odd numbers, odd names, broken forms.
stage_hostile() {
  mkdir -p hostile
  cd hostile
  : >empty
  printf '   \n\t\n' >blank
  printf '; only a comment\n# and another\n' >comments
  printf '(design top (cell a))' >no-final-newline
  sed 's/$/\r/' ../examples/netlist/good.net >good-crlf.net
  sed 's/$/\r/' ../examples/drawing/good.draw >good-crlf.draw
  printf '(design top\r(cell a (port p INPUT 4))\r)\r' >lone-cr.net
  printf '\xef\xbb\xbf(design top (cell a))\n' >bom.net
  printf '(design top (cell a\0b (port p INPUT)))\n(design after)\n' >nul-byte.net
  printf '(design top (cell \xff\xfe (net n "caf\xc3\xa9 \x01\x7f")))\n' >odd-bytes.net
  printf '(design top (cell a (net n "never closed)))\n(design b)\n' >open-string.net
  printf '(design top (cell a (net n "two\nlines" "three\n\nlines")))\n' >multiline-string.net
  printf '(design top (cell a (net n "q\\"uote" "end\\\\" "\\" 1.5)))\n' >escaped-quotes.net
  printf '(design top (version 2147483647 -2147483648 2147483648) (version -2147483649 99999999999 007))\n' >int-range.net
  printf '(design top (version +5 -0 1-2) (version + - 1.5))\n' >int-spelling.net
  printf '(design d (cell c (net n 1E5180 -1E999 1E-400 2.5E-3 1. . -.5 1.2.3 1E5 123456789012345678901234567890.5)))\n' >reals.net
  printf '(drawing d (page 1E400 -0.0 inch) (layer l RED (rect 1e5 .5 5. -1E-400 (style light-grey 1E999))))\n' >reals.draw
  printf '(design a.b (cell a-b) (cell &1) (cell &a-b) (cell E12) (cell e5) (cell x#y) (cell n'"'"'1) (cell '"'"'a b'"'"'))\n' >odd-names.net
  printf '(design top (cell a;b (port p INPUT)))\n(design t2 (cell c # note\n))\n' >comment-in-form.net
  printf '(DESIGN Top (CELL a (Port p inout) (NET n "s" 1)))\n(design top (cell a (port p InPut)))\n' >letter-case.net
  printf '(drawing d (layer l Light-Grey (line (pt 1 2) (pt 3 4) DASHED) (group (circle 1 2 3 (style none)))))\n' >letter-case.draw
  printf '(design a)\n(design b (cell c))\ntrailing words (\n' >trailing-text.net
  printf ')) (design a)\n' >closers-first.net
  printf '((design a))\n(design b)\n' >double-open.net
  printf '(design top (cell a (port p INPUT 4)\n(design t (v (net n)))\n(library "a")\n' >unclosed.net
  printf '(\n(optint)\n(ints 1 2)\n' >open-then-forms.net
  printf '(design top (cell a (port p BOTH) (net) (port)) (version 1 2) (cell))\n' >wrong-content.net
  printf '(drawing d (layer l (polygon (pt 1 2)) (rect 1 2 3) (text 5 6 7) (style)))\n' >wrong-content.draw
  printf '(nest (nest a 1 2.5 "s") (nest) nest)\n' >small.nest
  printf '(design top\f(cell\va)\t)\n' >control-space.net
  { printf '(design top\n'; repeat 3000 ' '; printf '(cell a)\n; '; repeat 5000 'x'; printf '\n)\n'; } >long-blank-and-comment.net
  cd ..
}

# A grammar that lets any form nest any other, for the deep and wide inputs.
stage_grammars() {
  mkdir -p grammars
  cd grammars
  printf '# Any form in any form.\ngoal nest\nform nest = (nest | ident | int | real | string)* ;\n' >nest.zelg
  : >empty.zelg
  printf '# nothing but a comment\n' >comment-only.zelg
  printf 'goal a\nform a = ( ;\n' >open-group.zelg
  printf 'goal a\nform a = b ;\n' >undefined-rule.zelg
  printf 'form a = ident ;\n' >no-goal.zelg
  printf 'goal a\nform a = ident ;\nform a = int ;\n' >duplicate-rule.zelg
  printf 'goal a\nform a = x ;\nvalue x = float ;\n' >unknown-value.zelg
  printf 'goal a\nform a = ident\n' >no-semicolon.zelg
  printf 'goal a\nform a = a ;\n' >self-reference.zelg
  printf 'goal a\nform a = ident\0 ;\n' >nul-byte.zelg
  printf 'goal a b\nform a = b* ;\nform b = ident | int ;\nchoice c = X | Y ;\nliteral X Y "z-z" ;\n' >small.zelg
  { printf 'goal a\nform a = '; repeat 100 '('; printf 'ident'; repeat 100 ')'; printf ' ;\n'; } >deep-groups.zelg
  { printf 'goal '; repeat 20000 x; printf '\nform '; repeat 20000 x; printf ' = ident ;\n'; } >long-name.zelg
  {
    printf 'goal r0\n'
    for ((i = 0; i < 2000; ++i)); do printf 'form r%d = ident r%d? ;\n' "$i" $((i + 1)); done
    printf 'form r2000 = int ;\n'
  } >many-rules.zelg
  cd ..
}

# Large, deep and wide documents; each is read only with the commands whose output stays
# linear in its size.
stage_large() {
  mkdir -p large
  cd large
  { repeat 200000 '(nest '; repeat 200000 ')'; echo; } >deep-200k.nest
  { repeat 2000 '(nest '; repeat 2000 ')'; echo; } >deep-2k.nest
  { repeat 100000 '(nest '; echo; } >unclosed-100k.nest
  { repeat 100000 ') '; echo; } >closers-100k.nest
  { repeat 200000 '('; printf 'design x'; repeat 200000 ')'; echo; } >opener-run.net
  { printf '(design top\n'; lines 200000 '(cell c)'; printf ')\n'; } >wide-200k.net
  { printf '(design top '; repeat 100000 '(cell c) '; printf ')\n'; } >long-line.net
  lines 50000 '(design a (cell c))' >many-goals.net
  { lines 200000 '; a comment line'; printf '(design top)\n'; } >many-lines.net
  { printf '(design '; repeat 100000 x; printf ' (cell a (net n "'; repeat 100000 y; printf '")))\n'; } >huge-token.net
  { printf '(design top (cell a (net n "'; repeat 50000 '\"'; printf '")))\n'; } >escapes.net
  awk 'BEGIN {
    print "(drawing big (page 210.5 148 mm)"
    for (layer = 0; layer < 100; ++layer) {
      printf " (layer layer_%d %s\n", layer, layer % 2 ? "Red" : "light-grey"
      for (item = 0; item < 100; ++item) {
        v = layer * 100 + item
        if (item % 5 == 4)
          printf "  (group g%d (circle %d.25 %d %d.5) (rect %d %d.125 %d %d (style blue %d.5)))\n", item, v % 97, v % 89, v % 13, v % 83, v % 79, v % 7 + 1, v % 5 + 1, v % 3
        else if (item % 3 == 0)
          printf "  (text \"label %d of the panel\" %d.5 %d 4.5 (style BLACK 0.25))\n", v, v % 200, v % 140
        else if (item % 3 == 1)
          printf "  (polygon (pt %d %d) (pt %d.5 %d) (pt %d %d.75) (style NONE))\n", v % 11, v % 13, v % 17, v % 19, v % 23, v % 29
        else
          printf "  (line (pt %d %d) (pt %d %d) dotted (style green 1))\n", v % 31, v % 37, v % 41, v % 43
      }
      printf " )\n"
    }
    print ")"
  }' >big.draw
  cd ..
}

run_all() {
  local document grammar other

  # The example documents and the documents of the corpora, under the grammars they are
  # written for and, lightly, under the others.
  for document in examples/netlist/*.net hostile/*; do
    case $document in
      *.draw) read_fully examples/drawing/drawing.zelg "$document"; other="examples/netlist/netlist.zelg grammars/nest.zelg" ;;
      *.nest) read_fully grammars/nest.zelg "$document"; other="examples/netlist/netlist.zelg examples/drawing/drawing.zelg" ;;
      *) read_fully examples/netlist/netlist.zelg "$document"; other="examples/drawing/drawing.zelg grammars/nest.zelg" ;;
    esac
    for grammar in $other; do read_lightly "$grammar" "$document"; done
  done
  read_fully examples/drawing/drawing.zelg examples/drawing/good.draw
  read_lightly examples/netlist/netlist.zelg examples/drawing/good.draw
  read_lightly grammars/nest.zelg examples/drawing/good.draw
  for document in body/*; do
    read_fully examples/netlist/netlist.zelg "$document"
    read_fully examples/drawing/drawing.zelg "$document"
    read_lightly grammars/nest.zelg "$document"
  done
  # The corpus files as they stand, mode bytes and all.
  for document in corpus/*/*; do
    case $document in corpus/grammar/*) continue ;; esac
    read_document examples/netlist/netlist.zelg "$document" tree plain
    read_document examples/drawing/drawing.zelg "$document" tree plain
  done
  # The grammar corpus: each grammar reads its own sample.
  for grammar in grammar-corpus/*.zelg; do
    read_fully "$grammar" "${grammar%.zelg}.sample"
  done

  # Large inputs: check everywhere; tree and fmt only where their output stays linear in
  # the input (the indentation of a deep tree grows with the square of its depth).
  large=1
  for document in large/deep-200k.nest large/unclosed-100k.nest large/closers-100k.nest; do
    read_document grammars/nest.zelg "$document" check "plain stack1"
  done
  read_document grammars/nest.zelg large/deep-2k.nest "check fmt" "plain extended"
  for document in large/opener-run.net large/wide-200k.net large/long-line.net large/many-goals.net \
                  large/many-lines.net large/huge-token.net large/escapes.net; do
    read_document examples/netlist/netlist.zelg "$document" "check tree fmt" "plain extended-escape"
  done
  read_document grammars/nest.zelg large/wide-200k.net check plain
  read_document examples/drawing/drawing.zelg large/big.draw "check tree fmt" "plain stack1"
  read_document examples/drawing/drawing.zelg large/big.draw tree-objects plain
  large=0

  # Grammars: the tables as C++, under the default prefix and two that need cleaning.
  for grammar in examples/*/*.zelg grammar-corpus/*.zelg grammars/*.zelg; do
    tag "$grammar"
    record "gen.$tagged" /dev/null gen "$grammar"
    record "gen.prefix.$tagged" /dev/null gen --prefix my-tables "$grammar"
  done
  record gen.prefix-digit.netlist /dev/null gen --prefix 9lives examples/netlist/netlist.zelg
  for grammar in grammars/*.zelg; do
    tag "$grammar"
    record "check.grammar.$tagged" /dev/null check -g "$grammar" examples/netlist/good.net
  done

  # Several files in one check, and standard input.
  record check.many-files.netlist /dev/null check -g examples/netlist/netlist.zelg \
    examples/netlist/good.net examples/netlist/bad.net hostile/int-range.net hostile/nul-byte.net
  for document in examples/netlist/good.net examples/netlist/bad.net; do
    tag "$document"
    for engine in recursive iterative; do
      for command in check fmt tree; do
        record "$command.stdin.$engine.$tagged" "$document" \
          "$command" --engine "$engine" -g examples/netlist/netlist.zelg -
      done
    done
  done

  # fmt -i on copies: the record also shows the file afterwards and what else is in its
  # directory (a replacement that failed must leave nothing behind).
  mkdir -p in-place
  for document in examples/netlist/good.net examples/netlist/bad.net examples/drawing/good.draw body/* \
                  hostile/reals.net hostile/int-range.net hostile/nul-byte.net; do
    for grammar in examples/netlist/netlist.zelg examples/drawing/drawing.zelg; do
      for setting in plain extended; do
        setting_options "$setting"
        local copy="in-place/$(basename "$document")"
        cp "$document" "$copy"
        tag "${grammar##*/}"
        local name="fmt-i.$setting.$tagged"
        tag "$document"
        name=$name.$tagged
        record "$name" /dev/null fmt -i "${options[@]}" -g "$grammar" "$copy"
        { printf -- '--- the file afterwards\n'; cat "$copy"; printf -- '--- in its directory\n'; ls -A in-place; } \
          >>"$outdir/$name"
        rm -f in-place/* in-place/.[!.]*
      done
    done
  done

  # Bad command lines, help texts and files that cannot be read.
  local g=examples/netlist/netlist.zelg
  record usage.none /dev/null
  record usage.help /dev/null --help
  record usage.unknown-command /dev/null frob
  for command in check fmt tree gen; do record "usage.help-$command" /dev/null "$command" --help; done
  record usage.no-grammar /dev/null check examples/netlist/good.net
  record usage.no-files /dev/null check -g "$g"
  record usage.unknown-option /dev/null check --frob -g "$g" examples/netlist/good.net
  record usage.bad-engine /dev/null check --engine sideways -g "$g" examples/netlist/good.net
  record usage.bad-escape /dev/null check --escape ab -g "$g" examples/netlist/good.net
  record usage.bad-stack /dev/null check --stack 0 -g "$g" examples/netlist/good.net
  record usage.missing-value /dev/null check -g
  record usage.objects-on-check /dev/null check --objects -g "$g" examples/netlist/good.net
  record usage.fmt-two-files /dev/null fmt -g "$g" examples/netlist/good.net examples/netlist/bad.net
  record usage.fmt-in-place-stdin /dev/null fmt -i -g "$g" -
  record usage.gen-two-grammars /dev/null gen "$g" "$g"
  record usage.missing-file /dev/null check -g "$g" no-such-file.net
  record usage.directory /dev/null check -g "$g" examples
  record usage.missing-grammar /dev/null check -g no-such.zelg examples/netlist/good.net
  record usage.grammar-directory /dev/null gen examples
}

run_mode() {
  zel=$(realpath "$1")
  outdir=$2
  [ -x "$zel" ] || { echo "not a program: $1" >&2; exit 2; }
  mkdir -p "$outdir"
  outdir=$(realpath "$outdir")
  if [ -n "$(ls -A "$outdir")" ]; then echo "not empty: $outdir" >&2; exit 2; fi
  # The tool loads the library of its own build (BUILD/bin/zel beside BUILD/libzel.so).
  export LD_LIBRARY_PATH="$(dirname "$(dirname "$zel")")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
  stage=$(mktemp -d "${TMPDIR:-/tmp}/zel-compare.XXXXXX")
  scratch=$stage/.scratch
  trap 'rm -rf "$stage"' EXIT
  mkdir -p "$scratch" "$stage/in"
  cd "$stage/in"
  echo "staging the inputs in $stage/in" >&2
  stage_examples_and_corpora
  stage_hostile
  stage_grammars
  stage_large
  echo "running $zel ($(ldd "$zel" | awk '/libzel/ { print $3 }'))" >&2
  local start=$SECONDS
  run_all
  echo "$runs runs recorded in $outdir in $((SECONDS - start)) s" >&2
}

# Compares two records; prints the runs that differ and the start of each difference.
diff_mode() {
  local a=$1 b=$2 compared differ only shown=0 line
  [ -d "$a" ] && [ -d "$b" ] || { echo "give two record directories" >&2; exit 2; }
  compared=$(comm -12 <(ls "$a") <(ls "$b") | wc -l)
  only=$(comm -3 <(ls "$a") <(ls "$b") | wc -l)
  local report
  report=$(diff -rq "$a" "$b" || true)
  differ=$(grep -c '^Files .* differ$' <<<"$report" || true)
  while IFS= read -r line; do
    case $line in
      Only\ in*) echo "$line" ;;
      Files\ *)
        local name=${line#Files "$a"/}
        name=${name%% and *}
        if [ "$shown" -lt 10 ]; then
          echo "=== $name"
          diff -u --label "$a/$name" --label "$b/$name" "$a/$name" "$b/$name" | head -n 40 || true
        else
          echo "=== $name (differs)"
        fi
        shown=$((shown + 1))
        ;;
    esac
  done <<<"$report"
  echo "$compared runs compared: $differ differ, $only in only one record"
  [ "$differ" -eq 0 ] && [ "$only" -eq 0 ]
}

both_mode() {
  local a b status=0
  a=$(mktemp -d "${TMPDIR:-/tmp}/zel-compare-a.XXXXXX")
  b=$(mktemp -d "${TMPDIR:-/tmp}/zel-compare-b.XXXXXX")
  ("$0" run "$1" "$a")
  ("$0" run "$2" "$b")
  "$0" diff "$a" "$b" || status=$?
  if [ "$status" -eq 0 ]; then
    rm -rf "$a" "$b"
  else
    echo "the records are kept: $a $b" >&2
  fi
  return "$status"
}

[ $# -eq 3 ] || usage
case $1 in
  run) run_mode "$2" "$3" ;;
  diff) diff_mode "$2" "$3" ;;
  both) both_mode "$2" "$3" ;;
  *) usage ;;
esac
