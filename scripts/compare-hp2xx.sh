#!/bin/sh
# The wider HP-GL dialect against a peer: each test drawing of the installed hp2xx package is read by
# quorvane-cli with --dialect 1 and by hp2xx, whose own HP-GL output at true size (absolute PU/PD only) is
# measured here. Extent (width, height) and drawn length must agree within 1 %.
#
# usage: compare-hp2xx.sh QUORVANE-CLI [WORKDIR]
# Each drawing is compared twice. As it stands, a difference is allowed where its reason is listed below.
# Restricted to what the dialect reads, every drawing must agree: both programs then read a copy without the
# instructions the report names skipped, without labels (LB, BL, PB) and symbols, which each program draws in
# its own stroke font, and without line types, which hp2xx turns into dashes while a curve here keeps its style.
# Prints one table row per drawing; exits 1 when a drawing disagrees without a listed reason, or restricted.
# shellcheck disable=SC2046,SC2086 # measures and mnemonic lists are split into words on purpose
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
agree() { # OURS PEER: within 1 %, or 0.05 mm for what is about zero; a "nan" of hp2xx agrees with nothing
  awk -v a="$1" -v b="$2" 'BEGIN { if (a !~ /^-?[0-9.]+$/ || b !~ /^-?[0-9.]+$/) exit 1
                                   d = a - b; if (d < 0) d = -d; m = b < 0 ? -b : b
                                   exit !(d <= 0.01 * m || d <= 0.05) }'
}

# The drawing restricted to what both programs read alike: the instructions named in DROP are left out, and so
# are escape sequences and PJL lines, where the dialect ends them; RA/RR become EA/ER (the dialect draws
# rectangles as outlines), and the first PG ends the drawing (hp2xx writes the first page alone). Label text
# (LB, BL) ends at the terminator DT sets and IN or DF resets; SM's symbol is one character.
restrict() { # IN OUT "DROP..."
  LC_ALL=C awk -v drop="$3" '
    function letter(ch) { return ch ~ /^[A-Za-z]$/ }
    function escape_end(k,   b, v) { # the first byte after the escape sequence whose ESC is before k
      b = substr(s, k++, 1)
      if (b == "%") { while (k <= n && substr(s, k, 1) !~ /^[A-Z]$/) k++; return k + 1 }
      if (b == ".") {
        if (substr(s, k, 1) !~ /^[@HIMNT]$/) return k + 1
        while (k <= n && substr(s, k, 1) != ":") k++
        return k + 1
      }
      if (b < "!" || b > "/") return k # ESC and one byte
      k++ # the group character
      for (v = 0; k <= n; k++) {
        b = substr(s, k, 1)
        if (b ~ /^[0-9]$/) v = v * 10 + b
        else if (b == "+" || b == "-" || b == ".") continue
        else if ((b == "W" || b == "w") && v > 0) return k + 1 + v # binary data
        else if (b ~ /^[a-z]$/) v = 0
        else return k + 1
      }
      return k
    }
    BEGIN { ETX = sprintf("%c", 3); ESC = sprintf("%c", 27); term = ETX
            split(drop, d, " "); for (k in d) skip[d[k]] = 1 }
    { s = s $0 "\n" }
    END {
      n = length(s); i = 1
      while (i <= n) {
        c = substr(s, i, 1)
        if (c == ESC) { i = escape_end(i + 1); continue }
        if (c == "@") { while (i <= n && substr(s, i, 1) != "\n") i++; i++; continue } # a PJL line
        if (!letter(c) || !letter(substr(s, i + 1, 1))) { printf "%s", c; i++; continue }
        mn = toupper(substr(s, i, 2)); j = i + 2
        if (mn == "LB" || mn == "BL") {
          for (; j <= n && substr(s, j, 1) != term; j++) {}
          j++
        } else if (mn == "DT") {
          t = substr(s, j, 1); j++
          if (t == ";") term = ETX
          else { term = t; if (substr(s, j, 1) == "," && substr(s, j + 1, 1) ~ /^[01]$/) j += 2 }
        } else if (mn == "PE") {
          for (; j <= n && substr(s, j, 1) != ";"; j++) {}
        } else {
          if (mn == "SM" && substr(s, j, 1) != ";") j++ # the symbol: any character
          q = 0
          for (; j <= n; j++) {
            ch = substr(s, j, 1)
            if (ch == "\"") q = !q
            else if (!q && (ch == ";" || ch == ESC || letter(ch))) break
          }
        }
        if (mn == "IN" || mn == "DF") term = ETX
        if (mn == "PG") break
        if (!(mn in skip)) {
          if (mn == "RA") mn = "EA"; else if (mn == "RR") mn = "ER"
          printf "%s%s", mn, substr(s, i + 2, j - i - 2)
        }
        i = j
      }
    }' "$1" >"$2"
}

# Reads DRAWING with both programs: "width height length" of ours, then of hp2xx, and the report's fields in
# DRAWING.ours.json (or the skipped instructions on stderr when it holds no curve).
measure() { # DRAWING
  ours=$1.ours.json
  "$cli" import --dialect 1 --json --settings "$work/settings" "$1" -o "$1.ours.ctask" >"$ours" 2>"$1.ours.err" ||
    true
  hp2xx -q -t -n -m hpgl -f "$1.hp2xx.plt" "$1" >/dev/null 2>&1 || true
  if [ -s "$ours" ]; then
    printf '%s %s %s ' "$(field "$ours" width_mm)" "$(field "$ours" height_mm)" "$(field "$ours" length_mm)"
  else
    printf '0 0 0 '
  fi
  if [ -s "$1.hp2xx.plt" ]; then peer_measure "$1.hp2xx.plt"; else echo 0 0 0; fi
}
verdict() { # OW OH OL PW PH PL: 0 when they agree
  agree "$1" "$4" && agree "$2" "$5" && agree "$3" "$6"
}

mkdir -p "$work/settings"
printf '[Para]\nLanguage=1\n' >"$work/settings/setting.ini"
failures=0
printf '%-18s | %-40s | %-30s | %5s | %-25s | %-25s | %-24s | %s\n' file "met" "skipped" pages \
  "ours w x h, length mm" "hp2xx w x h, length mm" "restricted: ours, hp2xx" agreement
for source in $(dpkg -L hp2xx | grep '/hp-tests/' | grep -E '\.(hp|hpg|plt)(\.gz)?$' | sort); do
  name=$(basename "$source" .gz)
  case $source in
    *.gz) gzip -dc "$source" >"$work/$name" ;;
    *) cp "$source" "$work/$name" ;;
  esac
  set -- $(measure "$work/$name")
  ours=$work/$name.ours.json
  if [ -s "$ours" ]; then
    pages=$(field "$ours" pages); met=$(counts "$ours" met); skipped=$(counts "$ours" skipped)
  else
    pages=0; met="(no curve)"; skipped=$(sed -n 's/^skipped: //p' "$work/$name.ours.err" | tr -d ',')
  fi
  [ "$skipped" = none ] && skipped=
  as_is="$1 x $2, $3 | $4 x $5, $6"
  if verdict "$@"; then
    verdict=agrees
  elif known_different "$name"; then
    verdict="differs: $reason"
  else
    verdict=DIFFERS
    failures=$((failures + 1))
  fi
  drop=$(printf '%s\n' $skipped LB BL PB SM LT CP | grep '^[A-Z][A-Z]$' | tr '\n' ' ')
  restrict "$work/$name" "$work/restricted.$name" "$drop"
  set -- $(measure "$work/restricted.$name")
  restricted="$3, $6"
  if ! verdict "$@"; then
    verdict="$verdict; restricted DIFFERS ($1 x $2 | $4 x $5)"
    failures=$((failures + 1))
  elif agree "$3" 0 && agree "$6" 0; then
    verdict="$verdict; restricted: nothing left to compare"
  else
    verdict="$verdict; restricted agrees"
  fi
  printf '%-18s | %-40s | %-30s | %5s | %-51s | %-24s | %s\n' "$name" "$met" "${skipped:-none}" "$pages" \
    "$as_is" "$restricted" "$verdict"
done
[ "$failures" -eq 0 ]
