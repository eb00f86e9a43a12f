#!/bin/sh
# The test printer's spooler command: Wine hands it each print job on
# standard input and waits for it. Leaves in the folder given the job
# (job.ps) and each page as a 300-dpi grey map and as text (page-1.pgm,
# page-1.txt, ...).
out=$1
rm -rf "$out" && mkdir -p "$out" || exit 1
cat >"$out/job.ps"
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r300 -sOutputFile="$out/page-%d.pgm" \
  "$out/job.ps" </dev/null >/dev/null 2>&1
ps2pdf "$out/job.ps" "$out/job.pdf" </dev/null >/dev/null 2>&1 || exit 0
for page in "$out"/page-*.pgm; do
  [ -e "$page" ] || continue
  n=${page##*-}
  n=${n%.pgm}
  pdftotext -layout -f "$n" -l "$n" "$out/job.pdf" "$out/page-$n.txt" </dev/null >/dev/null 2>&1
done
exit 0
