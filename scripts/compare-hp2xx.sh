#!/bin/sh
# The wider HP-GL dialect against a peer: each test drawing of the installed hp2xx package is read by
# quorvane-cli with --dialect 1 and by hp2xx, whose own HP-GL output at true size (absolute PU/PD only) is
# measured here. Extent (width, height) and drawn length must agree within 1 %.
#
# usage: compare-hp2xx.sh QUORVANE-CLI [WORKDIR]
# Prints one table row per drawing; exits 1 when a drawing disagrees that is not listed below with the
# reason it must.
set -eu

cli=$1
work=${2:-$(mktemp -d)}
mkdir -p "$work"

# Drawings whose difference is a choice of either program, not a reading fault; the reason is printed.
known_different() {
  case $1 in
    286x192.5_[lq]h*.hpg | 286x192.5_qq.hpg) reason="hp2xx clips to the paper size PS and the window IW" ;;
    ascii.hp | char7.hp | charsets.hp | charsize.hp | cp.hp | di.hp | dt.plt | dv.hpg | lo.hp)
      reason="labels: each program draws its own stroke font; SR, SL and ES are outside the dialect" ;;
    symbols.hp) reason="SM symbols are outside the dialect" ;;
    lt.hp | pw.hpg | thick.hp | ul.hp) reason="hp2xx draws the dashes of LT; a curve keeps its line style" ;;
    at.hpg | bz.hp | ew.hpg | fill.plt | fwedges.plt)
      reason="fills, wedges, AT and BZ are outside the dialect" ;;
    spectrum.plt) reason="hp2xx hatches the RR fills; the labels: each program draws its own stroke font" ;;
    iw.hp) reason="hp2xx clips to the IW window" ;;
    pages.hp) reason="hp2xx writes the first page alone" ;;
    *) return 1 ;;
  esac
}

if ! command -v hp2xx >/dev/null || ! dpkg -L hp2xx >/dev/null 2>&1; then
  echo "hp2xx is not installed (apt-get install hp2xx)" >&2
  exit 1
fi

field() { # JSON-FILE NAME: the number after "NAME":
  sed -n "s/.*\"$2\": \([-0-9.]*\).*/\1/p" "$1" | head -n 1
}
counts() { # JSON-FILE NAME: the mnemonic counts of the object "NAME" as "IN 1 PD 3"
  sed -n "s/.*\"$2\": {\([^}]*\)}.*/\1/p" "$1" | head -n 1 | tr -d '",:' 
}
# hp2xx's HP-GL (PU/PD with one absolute point each, plotter units) as "width height length" in mm. hp2xx
# closes a circle by drawing its first chord once more; that repeated chord is not counted.
peer_measure() {
  tr ';' '\n' <"$1" | awk -F'[ ,]' '
    function flush() {
      if (n >= 3 && sx[n] == sx[1] && sy[n] == sy[1] && ex[n] == ex[1] && ey[n] == ey[1]) total -= sl[n]
      n = 0
    }
    function see(x, y) {
      if (!any || x < minx) minx = x; if (!any || x > maxx) maxx = x
      if (!any || y < miny) miny = y; if (!any || y > maxy) maxy = y
      any = 1
    }
    /^PU/ { sub(/^PU/, ""); if (NF < 2) next
            # hp2xx breaks long polylines with a move to where the pen already is
            if ($1 != x || $2 != y) flush(); x = $1; y = $2; next }
    /^PD/ { sub(/^PD/, ""); if (NF < 2) next
            l = sqrt(($1 - x) ^ 2 + ($2 - y) ^ 2); total += l
            n++; sx[n] = x; sy[n] = y; ex[n] = $1; ey[n] = $2; sl[n] = l
            see(x, y); see($1, $2); x = $1; y = $2; next }
    END { flush(); printf "%.3f %.3f %.3f\n", (maxx - minx) / 40, (maxy - miny) / 40, total / 40 }'
}
agree() { # OURS PEER: within 1 %, or 0.05 mm for what is about zero
  awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; if (d < 0) d = -d; m = b < 0 ? -b : b;
                                   exit !(d <= 0.01 * m || d <= 0.05) }'
}

failures=0
printf '%-18s | %-40s | %-30s | %5s | %-24s | %-24s | %s\n' file "met" "skipped" pages \
  "ours w x h, length mm" "hp2xx w x h, length mm" agreement
for source in $(dpkg -L hp2xx | grep '/hp-tests/' | grep -E '\.(hp|hpg|plt)(\.gz)?$' | sort); do
  name=$(basename "$source" .gz)
  case $source in
    *.gz) gzip -dc "$source" >"$work/$name" ;;
    *) cp "$source" "$work/$name" ;;
  esac
  ours=$work/$name.ours.json
  "$cli" import --dialect 1 --json "$work/$name" -o "$work/$name.ours.ctask" >"$ours" 2>"$work/$name.ours.err" || true
  hp2xx -q -t -n -m hpgl -f "$work/$name.hp2xx.plt" "$work/$name" >/dev/null 2>&1 || true
  if [ -s "$ours" ]; then
    ow=$(field "$ours" width_mm); oh=$(field "$ours" height_mm); ol=$(field "$ours" length_mm)
    pages=$(field "$ours" pages)
    met=$(counts "$ours" met); skipped=$(counts "$ours" skipped)
  else
    ow=0; oh=0; ol=0; pages=0
    met="(no curve)"; skipped=$(sed -n 's/^skipped: //p' "$work/$name.ours.err")
  fi
  if [ -s "$work/$name.hp2xx.plt" ]; then
    set -- $(peer_measure "$work/$name.hp2xx.plt")
    pw=$1; ph=$2; pl=$3
  else
    pw=0; ph=0; pl=0
  fi
  if agree "$ow" "$pw" && agree "$oh" "$ph" && agree "$ol" "$pl"; then
    verdict=agrees
  elif known_different "$name"; then
    verdict="differs: $reason"
  else
    verdict=DIFFERS
    failures=$((failures + 1))
  fi
  printf '%-18s | %-40s | %-30s | %5s | %-24s | %-24s | %s\n' "$name" "$met" "${skipped:-none}" "$pages" \
    "$ow x $oh, $ol" "$pw x $ph, $pl" "$verdict"
done
[ "$failures" -eq 0 ]
