# Shared by the real-display scripts: sourced after setting
#   nom_test    the prefix of every line ("smoke", "waits")
# and with the build folder as "$1" (default: build-test). Starts nothing
# by itself; every process started here is ended at exit, by its PID.

racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)"
construction="${1:-build-test}"
[[ "$construction" = /* ]] || construction="$racine/$construction"
travail="$(mktemp -d "/tmp/zelto-$(basename "$0" .sh).XXXXXX")"
pids=()
reussis=0
echecs=0
# Put before zelto's command line (e.g. setpriv ...); empty: none.
lanceur=()
# A sanitizer build's UBSan reports with their stack, as AddressSanitizer's.
export UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

# Ends the processes this script started, the last one first.
arreter_processus() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  pids=()
}

# A process that has ended is no longer this script's to end: its PID may
# come back for another one.
oublier_pid() {
  local p reste=()
  for p in "${pids[@]}"; do [ "$p" = "$1" ] || reste+=("$p"); done
  pids=("${reste[@]}")
}

arreter() {
  arreter_processus
  if [ "$echecs" -eq 0 ]; then rm -rf "$travail"; else echo "$nom_test: captures and logs kept in $travail"; fi
}
trap arreter EXIT

ok() { reussis=$((reussis + 1)); echo "$nom_test: ok   $*"; }
echec() { echecs=$((echecs + 1)); echo "$nom_test: FAIL $*"; }

# Sanitizer reports (AddressSanitizer, LeakSanitizer, UBSan) in zelto's and
# zelto-sim's output, which the work folder takes away: each is printed and
# the output copied into the build folder, under the work folder's name. A
# report with a frame in the project's sources fails the run; one wholly
# inside Qt or the system libraries does not.
verifier_rapports() {
  local sortie copie premiere
  rm -f "$travail/rapports-propres"
  for sortie in zelto sim; do
    copie="$construction/rapports-$(basename "$travail")-$sortie.log"
    grep -qE '==ERROR: (Address|Leak)Sanitizer|runtime error:' "$travail/$sortie.log" 2>/dev/null || continue
    cp "$travail/$sortie.log" "$copie"
    echo "$nom_test: sanitizer reports in $sortie.log, copied to $copie:"
    # A report runs from its first line to its SUMMARY; 40 lines of it are
    # printed.
    awk -v src="$racine/src/" -v tests="$racine/tests/" -v propres="$travail/rapports-propres" '
      function finir() {
        print (propre ? "  with a frame in src/ or tests/:" : "  wholly inside Qt or the system libraries:")
        for (i = 1; i <= n && i <= 40; i++) print "    " r[i]
        if (n > 40) print "    ..."
        if (propre) print r[1] (cadre == r[1] ? "" : " (" cadre ")") >>propres
        dans = n = 0
      }
      /==ERROR: (Address|Leak)Sanitizer|runtime error:/ { if (dans) finir(); dans = 1; propre = 0 }
      !dans { next }
      { r[++n] = $0 }
      !propre && (index($0, src) || index($0, tests)) { propre = 1; cadre = $0; sub(/^ +/, "", cadre) }
      /^SUMMARY: / { finir() }
      END { if (dans) finir() }' "$travail/$sortie.log" || echec "$sortie.log: its sanitizer reports unread"
  done
  [ -s "$travail/rapports-propres" ] || return 0
  while read -r premiere; do echec "sanitizer report in the project's code: $premiere"; done <"$travail/rapports-propres"
}

# The end of a script: its processes ended, the sanitizer reports checked,
# the count; false after a failure.
bilan() {
  arreter_processus
  verifier_rapports
  echo "$nom_test: $reussis passed, $echecs failed"
  [ "$echecs" -eq 0 ]
}

# Runs the command every 0.1 s until it succeeds, for at most secondes
# (whole seconds).
attendre() {
  local secondes="$1" n
  shift
  for n in $(seq $((secondes * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

verifier_outils() {
  local outil
  for outil in "$@"; do
    command -v "$outil" >/dev/null || { echo "$nom_test: $outil missing (scripts/installer.sh installs it)"; exit 1; }
  done
}

# ---- Start ----

# Xvfb on a free display number of its own choosing, with a screen of
# ecran pixels (WxH), then openbox. A display that openbox cannot use (a
# number another server still held) is given up for a new one, 3 tries.
demarrer_x() {
  ecran="$1"
  local essai n xvfb wm
  for essai in 1 2 3; do
    rm -f "$travail/affichage"
    Xvfb -displayfd 3 -screen 0 "${ecran}x24" -nolisten tcp 3>"$travail/affichage" >>"$travail/xvfb.log" 2>&1 &
    xvfb=$!
    pids+=($xvfb)
    for n in $(seq 300); do [ -s "$travail/affichage" ] && break; sleep 0.05; done
    if [ -s "$travail/affichage" ]; then
      export DISPLAY=":$(head -1 "$travail/affichage")"
      openbox >>"$travail/openbox.log" 2>&1 &
      wm=$!
      pids+=($wm)
      for n in $(seq 300); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        kill -0 "$wm" 2>/dev/null || break
        sleep 0.05
      done
      kill "$wm" 2>/dev/null
      wait "$wm" 2>/dev/null
      oublier_pid "$wm"
    fi
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    oublier_pid "$xvfb"
    echo "$nom_test: no usable X display (try $essai), another one"
  done
  echec "Xvfb and openbox did not start"
  return 1
}

# zelto-sim behind a pseudo-terminal, one journal line per command and
# the same line in horaires with its times; the arguments are more
# zelto-sim options. Its stdin is entree_sim (default: none).
demarrer_sim() {
  rm -f "$travail/com1" "$travail/journal" "$travail/horaires"
  "$construction/zelto-sim" --lien "$travail/com1" --journal "$travail/journal" --horaires "$travail/horaires" "$@" \
    <"${entree_sim:-/dev/null}" >>"$travail/sim.log" 2>&1 &
  sim_pid=$!
  pids+=($sim_pid)
  local n
  for n in $(seq 100); do [ -e "$travail/com1" ] && [ -e "$travail/journal" ] && return 0; sleep 0.05; done
  echec "zelto-sim did not start"
  return 1
}

# zelto from a new scratch program folder (it writes zelto.ini beside
# itself), with the given zelto.ini text if any.
demarrer_zelto() {
  rm -rf "$travail/programme"
  mkdir -p "$travail/programme"
  cp "$construction/zelto" "$travail/programme/"
  [ -n "${1:-}" ] && printf '%s' "$1" >"$travail/programme/zelto.ini"
  QT_QPA_PLATFORM=xcb ZELTO_COM1="$travail/com1" "${lanceur[@]}" "$travail/programme/zelto" >>"$travail/zelto.log" 2>&1 &
  zelto_pid=$!
  pids+=($zelto_pid)
}

zelto_fini() { ! kill -0 "$zelto_pid" 2>/dev/null; }

# The program has ended within secondes.
attendre_fin_zelto() {
  attendre "${1:-10}" zelto_fini || return 1
  oublier_pid "$zelto_pid"
}

# ---- Windows ----

# Prints the id of a visible window whose title matches the pattern, if any.
fenetre_visible() {
  local id
  id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
  [ -n "$id" ] && echo "$id"
}

aucune_fenetre() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# Id of the visible window whose title matches the pattern, within secondes.
attendre_fenetre() { attendre "${2:-10}" fenetre_visible "$1"; }

# Waits until no visible window matches the pattern.
attendre_fermeture() { attendre "${2:-10}" aucune_fenetre "$1"; }

# "WxH+X+Y" of a window's client area on the screen.
geometrie() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {printf "%dx%d+%d+%d", w, h, x, y}'
}

# Click at (x, y) of the window's client area.
cliquer() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Keys to the window (xdotool key names, e.g. alt+q, Return).
touche() {
  local id="$1"
  shift
  xdotool windowactivate --sync "$id" key "$@" 2>/dev/null || xdotool key "$@"
}

# ---- Journal of zelto-sim ----

lignes_vides() { grep -c '^$' "$travail/journal"; }

# Waits until the converter has been asked nothing for calme seconds
# (default 0.3) since its last reply: the program is between two
# exchanges, a window's read over and its controls enabled. Input made
# during an exchange that enables its control is refused, as a user's
# click on a greyed button is.
attendre_calme() {
  local calme="${1:-0.3}" n
  for n in $(seq 150); do
    awk -v c="$calme" -v t="$EPOCHREALTIME" 'END { f = $2 == "-" ? $1 : $2; exit !(NR > 0 && t - f >= c) }' \
      "$travail/horaires" && return 0
    sleep 0.05
  done
  return 1
}

# Waits until a journal line starts with the text.
attendre_commande() { attendre "${2:-10}" grep -q "^$1" "$travail/journal"; }
