#!/usr/bin/env bash
# Real-display table of input during the link's waits: the real zelto under
# Xvfb and openbox, its port 1 on zelto-sim at 9600 baud, input from xdotool
# timed on zelto-sim's journal, each row checked from outside: the wire, the
# windows open, the program alive.
#
#   tests/fumee/attentes.sh [BUILD_DIR [ROW...]]   (default: build-test, every row)
#
# Two program runs: rows 12 and 9 end the program; row 4 accepts the
# password for the rest of its run, so it comes after the rows that need
# the password form. The watchdog probes only from going on line until a
# window opens, so a row that opens one goes off and on line again at its
# end. zelto-sim's reply delay is set per row through its stdin; its
# horaires tell when each command came and when its reply ended, so that a
# row knows its input fell inside a late reply's wait. A row whose input
# missed it is tried again on a new program run; a row after a failed one
# starts on a new run too.
set -uo pipefail

nom_test=waits
source "$(dirname "$0")/commun.sh"

# Client-area points (main window 600 x 440, working display 460 x 420,
# menu B general 867 x 312, in French).
offLine=(28 181) onLine=(29 243) menuB=(300 346) menuC=(479 346) marcheBtn=(111 385) quitterBtn=(488 385)
startConvBtn=(80 303) stopBtn=(229 303) freqDefBtn=(229 331) quitterStart=(379 359)
repriseOui=(414 139)
titreMarche='^MENU "Start"$' titreMdp='^Mot de passe' titreMenuB='menu "B"$' titreMessage='^Message\.\.\.$'

# ---- zelto-sim ----

regler_sim() { echo "$*" >&"$reglage_fd"; }

lignes_journal() { wc -l <"$travail/journal"; }

# Number of the first journal line after line n that matches the pattern
# (awk: '^$' a probe, '^s$' Stop), or nothing.
ligne_apres() {
  awk -v n="$1" -v m="$2" 'NR > n && $0 ~ m { print NR; exit }' "$travail/journal"
}

# Sleeps without starting a process (a fifo that never has data).
pause() { read -r -t "$1" -u "$pause_fd" || :; }

# Waits for a journal line after line n (default: the last one) that
# matches; ligne holds its number. The loop starts no process, so that it
# sees the line at once on a busy machine too.
attendre_ligne() {
  local motif="$1" secondes="${2:-4}" n="${3:-$(lignes_journal)}" fin i suite
  fin=$((${EPOCHREALTIME//[!0-9]/} + secondes * 1000000))
  while :; do
    mapfile -t -s "$n" suite <"$travail/journal"
    for i in "${!suite[@]}"; do
      [[ ${suite[i]} =~ $motif ]] && { ligne=$((n + i + 1)); return 0; }
    done
    [ "${EPOCHREALTIME//[!0-9]/}" -lt "$fin" ] || break
    pause 0.01
  done
  constat="nothing matching $motif on the wire within $secondes s"
  return 1
}

# The next watchdog probe (a bare line feed).
attendre_sonde() { attendre_ligne '^$' 4; }

# ZELTO_ATTENTES_FORCER="ROW:STATUS ..." (tests/fumee/reprise.sh): the
# row's first try ends at its first check of an exchange with that status,
# and a later try must be on a new program run.
forcer_essai() {
  local f
  for f in ${ZELTO_ATTENTES_FORCER:-}; do
    [ "${f%:*}" = "$numero" ] || continue
    if [ "$essai" = 1 ]; then
      pid_force=$zelto_pid
      constat="status ${f#*:} forced on try 1"
      return "${f#*:}"
    fi
    [ "$zelto_pid" != "$pid_force" ] || { constat="try $essai on the program run of try 1"; return 1; }
  done
  return 0
}

# The input just given ended inside an exchange (the one of journal line
# ligne or a later one) whose reply was due duree seconds late (without a
# reply, the exchange lasts duree), marge seconds (default 0.05; empty:
# any time) before that. Else the test missed its timing: status 2.
dans_echange() {
  local duree="$1" marge="${2-0.05}"
  forcer_essai || return
  constat=$(awk -v n="$ligne" -v d="$duree" -v m="$marge" -v t="$EPOCHREALTIME" 'NR >= n && $1 <= t { c = $1; r = $2 }
    END {
      fin = r == "-" ? c + d : r
      if (c == "") print "input done before the command"
      else if (fin - c < d - 0.02) printf "the reply came %.2f s after the command, not %s s", fin - c, d
      else if (m != "" && t > fin - m) printf "input done %.2f s into an exchange of %.2f s", t - c, fin - c
    }' "$travail/horaires")
  [ -z "$constat" ] || return 2
}

# Sleeps until secondes after the command of journal line ligne.
attendre_dans_echange() {
  local reste
  reste=$(awk -v n="$ligne" -v s="$1" -v t="$EPOCHREALTIME" 'NR == n { printf "%.3f", ($1 + s > t ? $1 + s - t : 0) }' "$travail/horaires")
  pause "${reste:-0}"
}

# Since line n the wire has carried probes only.
rien_que_sondes() {
  local autres
  autres=$(tail -n +$(($1 + 1)) "$travail/journal" | grep -v '^$' | head -5 | tr '\n' ' ')
  [ -z "$autres" ] && return 0
  constat="on the wire: $autres"
  return 1
}

# ---- Windows ----

# The display's beeps, one line each in bips with its time (xkbevd runs a
# command per bell).
ecouter_bips() {
  : >"$travail/bips"
  printf 'Bell() shell "date +%%s.%%N >>%s/bips"\n' "$travail" >"$travail/bips.cf"
  xkbevd -cfg "$travail/bips.cf" >/dev/null 2>&1 &
  pids+=($!)
}

bips() { wc -l <"$travail/bips"; }

titres_visibles() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do printf '"%s" ' "$(xdotool getwindowname "$id")"; done
}

# No visible window matches the pattern for dixiemes tenths of a second.
absente_pendant() {
  local titre="$1" dixiemes="$2" i
  for i in $(seq "$dixiemes"); do
    xdotool search --onlyvisible --name "$titre" >/dev/null 2>&1 && return 1
    sleep 0.1
  done
}

# Click, then the pointer leaves the button 0.1 s later.
cliquer_et_partir() {
  xdotool mousemove --window "$1" "$2" "$3" click 1 sleep 0.1 mousemove --window "$1" 10 10
}

# The password form comes up, and Escape closes it.
mdp_puis_echap() {
  local mdp
  mdp=$(attendre_fenetre "$titreMdp" 4) || { constat="no password form; windows: $(titres_visibles)"; return 1; }
  touche "$mdp" Escape
  attendre_fermeture "$titreMdp" 3 || { constat="password form still open after Escape"; return 1; }
}

# Going on line from the main window: the link test, XxX, LES.
en_ligne() {
  local n
  n=$(lignes_journal)
  cliquer "$principale" "${onLine[@]}"
  attendre_ligne '^XxX$' 5 "$n" && attendre_ligne '^LES$' 5 "$n" || return 1
  # The buttons come back once LES's reply is read.
  attendre_calme
}

# Off line and on line again: the watchdog probes again.
relancer_sonde() {
  cliquer "$principale" "${offLine[@]}"
  en_ligne || { constat="not back on line"; return 1; }
}

# Clicks Start in the main window (once more if the first click met the
# main window busy) and prints the working display's id.
cliquer_marche() {
  local essai
  for essai in 1 2; do
    cliquer "$principale" "${marcheBtn[@]}"
    attendre_fenetre "$titreMarche" 8 && return 0
  done
  return 1
}

# The working display, opened if need be, its opening read over.
ouvrir_marche() {
  local n
  attendre_fenetre "$titreMarche" 1 >/dev/null && return 0
  n=$(lignes_journal)
  cliquer_marche >/dev/null && attendre_ligne '^ST$' 10 "$n" && attendre_calme
}

# Closes the working display with its Exit button (it acts at the next tick).
fermer_marche() {
  local marche essai
  for essai in 1 2; do
    marche=$(attendre_fenetre "$titreMarche" 1) || return 0
    xdotool windowactivate --sync "$marche" 2>/dev/null
    cliquer "$marche" "${quitterStart[@]}"
    attendre_fermeture "$titreMarche" 5 && return 0
  done
  constat="working display still open"
  return 1
}

# Menu B general open and read (row 4 leaves it so); the password if asked.
ouvrir_menu_b() {
  local n
  attendre_fenetre "$titreMenuB" 1 >/dev/null && return 0
  n=$(lignes_journal)
  cliquer "$principale" "${menuB[@]}"
  if attendre_fenetre "$titreMdp" 2 >/dev/null; then
    xdotool type --delay 20 pirudo
    xdotool key Return
  fi
  attendre_fenetre "$titreMenuB" 5 >/dev/null && attendre_ligne '^DM$' 5 "$n"
}

# The motor left turning (the last "r" or "s" on the wire is an "r"):
# Stop, and "s" on the wire.
arreter_moteur() {
  local marche n
  [ "$(grep -E '^[rs]$' "$travail/journal" | tail -1)" = r ] || return 0
  regler_sim delai 0.005
  marche=$(attendre_fenetre "$titreMarche" 1) || return 1
  n=$(lignes_journal)
  cliquer "$marche" "${stopBtn[@]}"
  attendre_ligne '^s$' 5 "$n"
}

# A new program run (the one before is ended): the main window, on line, the
# watchdog probing, the converter answering at once.
relancer_zelto() {
  if kill -0 "${zelto_pid:-}" 2>/dev/null; then
    kill "$zelto_pid"
    attendre_fin_zelto 5
  fi
  regler_sim parle
  regler_sim delai 0.005
  demarrer_zelto ""
  principale=$(attendre_fenetre '^Menu principal$' 20) || { constat="no main window"; return 1; }
  attendre_fermeture '^Zelto Windows Link$' 10
  en_ligne || { constat="not on line: $(tail -3 "$travail/journal" | tr '\n' '|')"; return 1; }
}

# ---- Rows ----

# 1. Stop clicked during the working display's opening read: "s" after it.
stop_pendant_lecture() {
  local n marche fin_lecture stop
  regler_sim delai 0.005
  n=$(lignes_journal)
  marche=$(cliquer_marche) || { constat="no working display"; return 1; }
  cliquer "$marche" "${stopBtn[@]}"
  # The read ends with the first poll's ST.
  fin_lecture=$(ligne_apres "$n" '^ST$')
  [ -z "$fin_lecture" ] || { constat="the read was over (line $fin_lecture) before the click"; return 2; }
  attendre_ligne '^s$' 5 "$n" || { constat="no \"s\" within 5 s"; return 1; }
  stop=$ligne
  fin_lecture=$(ligne_apres "$n" '^ST$')
  [ "$stop" -gt "${fin_lecture:-0}" ] || { constat="\"s\" at line $stop, inside the read (ends line $fin_lecture)"; return 1; }
}

# 2. A held click whose pointer leaves 0.1 s later: Stop in a poll step
# sends "s"; MENU B in a probe opens the password form.
clic_puis_depart() {
  local marche
  ouvrir_marche || { constat="no working display"; return 1; }
  marche=$(attendre_fenetre "$titreMarche" 1)
  # A step's first reply 0.6 s late, the others at once.
  attendre_ligne '^ST$' 4 || return 1
  regler_sim delai 0.6
  attendre_ligne '^FT$' 4 "$ligne" || return 1
  regler_sim delai 0.005
  cliquer_et_partir "$marche" "${stopBtn[@]}"
  dans_echange 0.6 || return
  attendre_ligne '^s$' 5 "$ligne" || { constat="Stop in a poll step: no \"s\" within 5 s"; return 1; }
  fermer_marche || return 1
  relancer_sonde || return 1
  regler_sim delai 0.6
  attendre_sonde || return 1
  cliquer_et_partir "$principale" "${menuB[@]}"
  dans_echange 0.6 || return
  mdp_puis_echap
}

# 3. Two clicks in one probe: MENU B then MENU C gives the password form
# only; OFF then ON goes back on line.
deux_clics() {
  local n
  regler_sim delai 0.6
  attendre_sonde || return 1
  n=$ligne
  xdotool mousemove --window "$principale" "${menuB[@]}" click 1 mousemove --window "$principale" "${menuC[@]}" click 1
  dans_echange 0.6 || return
  mdp_puis_echap || return 1
  absente_pendant '^Menu des sorties|^Mot de passe' 5 || { constat="MENU C acted: $(titres_visibles)"; return 1; }
  rien_que_sondes "$n" || return 1
  attendre_sonde || return 1
  xdotool mousemove --window "$principale" "${offLine[@]}" click 1 mousemove --window "$principale" "${onLine[@]}" click 1
  dans_echange 0.6 || return
  attendre_ligne '^XxX$' 5 "$ligne" && attendre_ligne '^LES$' 5 "$ligne" \
    || { constat="OFF then ON: not back on line (no XxX, LES)"; return 1; }
}

# 5. Alt+B then Alt+M in one probe: the password form, no working display
# behind it; Escape closes the form.
deux_mnemoniques() {
  local n
  regler_sim delai 0.6
  xdotool windowactivate --sync "$principale"
  attendre_sonde || return 1
  n=$ligne
  xdotool key alt+b alt+m
  dans_echange 0.6 || return
  attendre_fenetre "$titreMdp" 4 >/dev/null || { constat="no password form; windows: $(titres_visibles)"; return 1; }
  absente_pendant "$titreMarche" 5 || { constat="working display open with the password form"; return 1; }
  mdp_puis_echap || return 1
  absente_pendant "$titreMarche" 5 || { constat="working display open after the form"; return 1; }
  rien_que_sondes "$n"
}

# 6. Alt+M during a probe that the silent converter fails: off line, the
# working display does not open and nothing more goes on the wire. (After
# a failure, the new program run makes the converter speak again.)
mnemonique_hors_ligne() {
  xdotool windowactivate --sync "$principale"
  regler_sim silence
  attendre_sonde || return 1
  sleep 0.2
  xdotool key alt+m
  dans_echange 2 || return
  # The probe gives up 2 s after its start.
  absente_pendant "$titreMarche" 25 || { constat="working display open after the link loss"; return 1; }
  [ "$(lignes_journal)" = "$ligne" ] || { rien_que_sondes "$ligne"; constat="not off line: $constat"; return 1; }
  regler_sim parle
  regler_sim delai 0.005
  en_ligne || { constat="not back on line"; return 1; }
}

# 4. MENU B clicked in a probe of 1 s, the password typed during the next
# probe: the form takes it, menu B general opens and reads.
mdp_pendant_sonde() {
  local mdp
  regler_sim delai 1
  attendre_sonde || return 1
  cliquer "$principale" "${menuB[@]}"
  mdp=$(attendre_fenetre "$titreMdp" 4) || { constat="no password form"; return 1; }
  attendre_sonde || return 1
  xdotool type --delay 20 pirudo
  xdotool key Return
  dans_echange 1 || return
  # Menu B general's read at full speed.
  regler_sim delai 0.005
  attendre_fermeture "$titreMdp" 4 || { constat="password form still open"; touche "$mdp" Escape; return 1; }
  attendre_fenetre "$titreMenuB" 5 >/dev/null || { constat="no menu B general; windows: $(titres_visibles)"; return 1; }
  attendre_ligne '^DM$' 5 "$ligne" || { constat="menu B general did not read the converter"; return 1; }
}

# 9. An unsent change, Alt+F4, Yes, Alt+F4 again during the download: the
# main window stays; the save into a read-only folder fails, the program
# goes on with its main window usable, and Exit ends it.
seconde_fermeture() {
  local bgen question n telechargement absente=0 erreur
  ouvrir_menu_b || { constat="no menu B general"; return 1; }
  bgen=$(attendre_fenetre "$titreMenuB" 1)
  # Input during its read is refused.
  attendre_calme
  cliquer "$bgen" "${repriseOui[@]}"
  touche "$bgen" alt+q
  attendre_fermeture "$titreMenuB" 5 || { constat="menu B general still open"; return 1; }
  mkdir -p "$travail/programme/data"
  chmod 555 "$travail/programme/data"
  regler_sim delai 0.1
  touche "$principale" alt+F4
  question=$(attendre_fenetre "$titreMessage" 5) || { constat="no question after Alt+F4; windows: $(titres_visibles)"; return 1; }
  n=$(lignes_journal)
  touche "$question" Return
  attendre_ligne '^[$]' 5 "$n" || { constat="no download after Yes"; return 1; }
  touche "$principale" alt+F4
  telechargement=$(lignes_journal)
  # Until the next question (saving to a file) the main window stays.
  for _ in $(seq 100); do
    question=$(xdotool search --onlyvisible --name "$titreMessage" 2>/dev/null | head -1)
    [ -n "$question" ] && break
    xdotool search --onlyvisible --name '^Menu principal$' >/dev/null 2>&1 || absente=1
    sleep 0.1
  done
  [ -n "$(ligne_apres "$telechargement" '^DM$')" ] || { constat="the second Alt+F4 came after the download"; return 2; }
  [ "$absente" = 0 ] || { constat="main window gone during the download"; return 1; }
  [ -n "$question" ] || { constat="no question after the download; windows: $(titres_visibles)"; return 1; }
  # The converter goes away: the save writes what the PC holds at once,
  # without reading every partition first.
  kill "$sim_pid"
  oublier_pid "$sim_pid"
  sleep 0.5
  touche "$question" Return
  attendre_fenetre '^Enregistrement' 5 >/dev/null || { constat="no save dialog; windows: $(titres_visibles)"; return 1; }
  xdotool type --delay 20 essai
  xdotool key Return
  erreur=$(attendre_fenetre '^Zelto$' 5) || { constat="no save error box; windows: $(titres_visibles)"; return 1; }
  [ ! -e "$travail/programme/data/essai.mnc" ] || { constat="the file was written"; return 1; }
  touche "$erreur" Return
  attendre_fermeture '^Zelto$' 3 || { constat="save error box still up"; return 1; }
  sleep 0.5
  kill -0 "$zelto_pid" 2>/dev/null || { constat="the program ended after the failed save"; return 1; }
  attendre_fenetre '^Menu principal$' 1 >/dev/null || { constat="no main window after the failed save"; return 1; }
  # Usable: its Exit button ends the program.
  cliquer "$principale" "${quitterBtn[@]}"
  attendre_fin_zelto 5 || { constat="Exit did not end the program; windows: $(titres_visibles)"; return 1; }
}

# 10. Start, then Def. freq., clicked greyed during the working display's
# opening read, replies 0.3 s late: neither acts once the read is over
# (a queued command goes at the next tick, every 0.5 s). The working
# display stays open for row 11.
clics_grises_pendant_lecture() {
  local n marche clics action
  regler_sim delai 0.005
  n=$(lignes_journal)
  marche=$(cliquer_marche) || { constat="no working display"; return 1; }
  # The read greys the buttons once it has the partition number (NG); the
  # line after next has the new delay.
  attendre_ligne '^NG$' 5 "$n" || return 1
  regler_sim delai 0.3
  attendre_ligne . 3 && attendre_ligne . 3 || return 1
  ligne=$(lignes_journal)
  clics=$ligne
  xdotool mousemove --window "$marche" "${startConvBtn[@]}" click 1 mousemove --window "$marche" "${freqDefBtn[@]}" click 1
  # Any time in the read counts, its replies late.
  dans_echange 0.3 "" || return
  regler_sim delai 0.005
  attendre_ligne '^ST$' 10 "$n" || { constat="the read did not end"; return 1; }
  [ "$ligne" -ge "$clics" ] || { constat="the read was over (line $ligne) before the clicks"; return 2; }
  sleep 1.5
  action=$(ligne_apres "$n" '^(r|[$]J)$')
  [ -z "$action" ] && return 0
  constat="after the read: \"$(sed -n "${action}p" "$travail/journal")\" on the wire"
  arreter_moteur
  return 1
}

# 11. The motor started (Start greyed until a stop is sent), Stop clicked,
# Start clicked 0.3 s into the stop's reply wait of 1 s: "s", no "r" after.
start_pendant_arret() {
  local marche n arret
  regler_sim delai 0.005
  ouvrir_marche || { constat="no working display"; return 1; }
  marche=$(attendre_fenetre "$titreMarche" 1)
  n=$(lignes_journal)
  cliquer "$marche" "${startConvBtn[@]}"
  # A tick that sends a command polls nothing: Stop then, "s" is next.
  attendre_ligne '^r$' 5 "$n" || { constat="Start: no \"r\" within 5 s"; return 1; }
  cliquer "$marche" "${stopBtn[@]}"
  regler_sim delai 1
  attendre_ligne '^s$' 10 "$ligne" || { constat="Stop: no \"s\" within 10 s"; return 1; }
  arret=$ligne
  attendre_dans_echange 0.3
  cliquer "$marche" "${startConvBtn[@]}"
  dans_echange 1 || return
  regler_sim delai 0.005
  if attendre_ligne '^r$' 2 "$arret"; then
    constat="\"r\" after the \"s\": the motor started again"
    arreter_moteur
    return 1
  fi
  fermer_marche && relancer_sonde
}

# 13. The main window minimized, restored 0.14 s into a probe of 1.5 s and
# MENU B clicked at 0.56 s: the password form opens once, no beep. First,
# as a control, the window restored before the probe.
restauree_pendant_sonde() {
  local cas bips_avant
  for cas in before during; do
    regler_sim delai 0.005
    xdotool windowminimize --sync "$principale"
    if [ "$cas" = before ]; then
      # Restored between two probes.
      attendre_sonde && attendre_calme 0.1 || return 1
      xdotool windowactivate --sync "$principale" 2>/dev/null
    fi
    regler_sim delai 1.5
    attendre_sonde || return 1
    bips_avant=$(bips)
    if [ "$cas" = during ]; then
      attendre_dans_echange 0.14
      xdotool windowactivate "$principale" 2>/dev/null
      dans_echange 1.5 || return
    fi
    attendre_dans_echange 0.56
    attendre_fenetre '^Menu principal$' 1 >/dev/null || { constat="$cas the probe: the main window not restored"; return 2; }
    cliquer "$principale" "${menuB[@]}"
    dans_echange 1.5 || return
    regler_sim delai 0.005
    if ! mdp_puis_echap || ! absente_pendant "$titreMdp" 5; then
      constat="restored $cas the probe: ${constat:-the password form again}; $(($(bips) - bips_avant)) beep(s)"
      return 1
    fi
    [ "$(bips)" = "$bips_avant" ] || { constat="restored $cas the probe: $(($(bips) - bips_avant)) beep(s)"; return 1; }
  done
}

# 12. Nothing changed, Alt+F4 0.25 s into a probe of 1.5 s, MENU B clicked
# at 0.65 s: the exit road sends xXx and ends the program; MENU B opens
# nothing (no password form, no menu B general read).
fermeture_pendant_sonde() {
  local n
  regler_sim delai 1.5
  xdotool windowactivate --sync "$principale"
  attendre_sonde || return 1
  n=$ligne
  attendre_dans_echange 0.25
  xdotool key alt+F4
  dans_echange 1.5 || return
  attendre_dans_echange 0.65
  cliquer "$principale" "${menuB[@]}"
  dans_echange 1.5 || return
  # xXx's reply is 1.5 s late too.
  for _ in $(seq 60); do
    kill -0 "$zelto_pid" 2>/dev/null || break
    xdotool search --onlyvisible --name "$titreMdp" >/dev/null 2>&1 && { constat="MENU B opened the password form"; return 1; }
    sleep 0.1
  done
  [ -z "$(ligne_apres "$n" '^CS$')" ] || { constat="MENU B: menu B general read the converter"; return 1; }
  [ -n "$(ligne_apres "$n" '^xXx$')" ] || { constat="no xXx on the wire; windows: $(titres_visibles)"; return 1; }
  attendre_fin_zelto 1 || { constat="the program did not end; windows: $(titres_visibles)"; return 1; }
}

# ---- The run ----

choisie() { [ ${#choisies[@]} -eq 0 ] || [[ " ${choisies[*]} " == *" $1 "* ]]; }

# One row: its number, what it shows, its function, and "fin" for a row
# that ends the program. The function sets constat to what it saw when the
# outcome is wrong, and returns 2 when the input missed its exchange: the
# row is tried again on a new program run, 4 tries in all. False once the
# program is gone.
rangee() {
  local numero="$1" quoi="$2" fonction="$3" fin="${4:-}" t0 essai r=1
  choisie "$numero" || return 0
  if [ "$apres_echec" = 1 ]; then
    relancer_zelto || { echec "$numero $quoi: $constat"; return 1; }
  fi
  for essai in 1 2 3 4; do
    if [ "$essai" -gt 1 ]; then
      echo "$nom_test: again $numero: $constat"
      relancer_zelto || break
    fi
    constat=""
    t0=$EPOCHREALTIME
    "$fonction"
    r=$?
    [ "$r" = 2 ] || break
  done
  if [ "$r" = 0 ]; then
    if [ -n "$fin" ] || kill -0 "$zelto_pid" 2>/dev/null; then
      ok "$numero $quoi ($(awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }') s$([ "$essai" = 1 ] || echo ", try $essai"))"
      apres_echec=0
      return 0
    fi
    constat="the program ended"
  fi
  echec "$numero $quoi: $constat"
  import -window root "$travail/rangee-$numero.png" 2>/dev/null
  apres_echec=1
  kill -0 "$zelto_pid" 2>/dev/null
}

verifier_outils Xvfb openbox xdotool xwininfo import mkfifo xkbevd
choisies=("${@:2}")
apres_echec=0

mkfifo "$travail/reglage" "$travail/pause"
exec {reglage_fd}<>"$travail/reglage" {pause_fd}<>"$travail/pause"
entree_sim="$travail/reglage"
# The save must fail in a read-only folder, root or not.
if [ "$(id -u)" = 0 ]; then
  verifier_outils setpriv
  lanceur=(setpriv --bounding-set -dac_override,-dac_read_search --)
fi

demarrer_x 1280x1024 || exit 1
ecouter_bips
demarrer_sim --baud 9600 || exit 1
relancer_zelto || { echec "$constat"; exit 1; }

rangee 1 "Stop clicked during the working display's opening read: \"s\" after the read" stop_pendant_lecture &&
  rangee 2 "held click, pointer gone 0.1 s later: Stop in a poll step sends \"s\", MENU B in a probe opens the password form" clic_puis_depart &&
  rangee 3 "two clicks in a probe: MENU B, MENU C opens the password form only; OFF, ON goes back on line" deux_clics &&
  rangee 5 "Alt+B, Alt+M in a probe: the password form, no working display, Escape closes it" deux_mnemoniques &&
  rangee 6 "Alt+M in a probe that loses the link: no working display off line" mnemonique_hors_ligne &&
  rangee 10 "Start, Def. freq. clicked greyed during the working display's opening read: no \"r\", no \"\$J\"" clics_grises_pendant_lecture &&
  rangee 11 "Start clicked greyed while the stop's reply is late: \"s\", no \"r\" after it" start_pendant_arret &&
  rangee 13 "main window restored before, then during a probe, MENU B clicked in the probe: the password form, no beep" restauree_pendant_sonde &&
  rangee 12 "Alt+F4 then MENU B in a probe: the exit road ends the program, MENU B opens nothing" fermeture_pendant_sonde fin
# A second program run.
if choisie 4 || choisie 9; then
  relancer_zelto || { echec "second run: $constat"; exit 1; }
  apres_echec=0
  rangee 4 "password typed during a probe: the form takes it, menu B general opens" mdp_pendant_sonde &&
    rangee 9 "Alt+F4 again during the exit road's download: the main window stays; the save fails, the program goes on; Exit ends it" seconde_fermeture fin
fi

bilan
