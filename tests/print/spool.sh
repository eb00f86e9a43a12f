#!/bin/sh
# The test printer's spooler command: Wine hands it each print job on
# standard input and waits for it. Leaves in the folder given the job, its
# pages as 300-dpi grey maps (page-1.pgm, ...) and its text, one form feed
# after each page.
out=$1
rm -rf "$out" && mkdir -p "$out" || exit 1
cat >"$out/job.ps"
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r300 -sOutputFile="$out/page-%d.pgm" \
  "$out/job.ps" </dev/null >/dev/null 2>&1
ps2pdf "$out/job.ps" "$out/job.pdf" </dev/null >/dev/null 2>&1 &&
  pdftotext -layout "$out/job.pdf" "$out/job.txt" </dev/null >/dev/null 2>&1
exit 0
