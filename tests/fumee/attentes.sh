#!/usr/bin/env bash
# Real-display table of input during the link's waits: the real zelto under
# Xvfb and openbox, its port 1 on zelto-sim at 9600 baud, input from xdotool
# timed on zelto-sim's journal, each row checked from outside: the wire, the
# windows open, the program alive.
#
#   tests/fumee/attentes.sh [BUILD_DIR [ROW...]]   (default: build-test, every row)
#
# One program run for the table. The watchdog probes only from going on
# line until a window opens, so a row that opens one goes off and on line
# again at its end; row 4 accepts the password for the rest of the run, so
# it comes after the rows that need the password form, and row 9 ends the
# program. A row after a failed one starts from a known state (remettre).
# zelto-sim's reply delay is set per row through its stdin.
set -uo pipefail

nom_test=waits
source "$(dirname "$0")/commun.sh"

# Client-area points (main window 600 x 440, working display 460 x 420,
# menu B general 867 x 312, in French).
offLine=(28 181) onLine=(29 243) menuB=(300 346) menuC=(479 346) marcheBtn=(111 385) quitterBtn=(488 385)
stopBtn=(229 303) quitterStart=(379 359)
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

# Waits for a journal line after line n (default: the last one) that
# matches; ligne holds its number, debut the time it was seen.
attendre_ligne() {
  local motif="$1" secondes="${2:-4}" n="${3:-$(lignes_journal)}" i
  for i in $(seq $((secondes * 100))); do
    ligne=$(ligne_apres "$n" "$motif")
    [ -n "$ligne" ] && { debut=$EPOCHREALTIME; return 0; }
    sleep 0.01
  done
  constat="nothing matching $motif on the wire within $secondes s"
  return 1
}

# The next watchdog probe (a bare line feed).
attendre_sonde() { attendre_ligne '^$' 4; }

# The input just given came within the exchange seen at debut, which
# lasts about duree seconds.
dans_echange() {
  local duree="$1" ecoule
  ecoule=$(awk -v a="$debut" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')
  awk -v e="$ecoule" -v d="$duree" 'BEGIN { exit !(e < d) }' && return 0
  constat="input done ${ecoule} s into an exchange of ${duree} s: not inside it"
  return 1
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
  attendre_ligne '^XxX$' 5 "$n" && attendre_ligne '^LES$' 5 "$n"
}

# Off line and on line again: the watchdog probes again.
relancer_sonde() {
  cliquer "$principale" "${offLine[@]}"
  en_ligne || { constat="not back on line"; return 1; }
}

# The working display, opened if need be, its opening read over.
ouvrir_marche() {
  local n
  attendre_fenetre "$titreMarche" 1 >/dev/null && return 0
  n=$(lignes_journal)
  cliquer "$principale" "${marcheBtn[@]}"
  attendre_fenetre "$titreMarche" 10 >/dev/null && attendre_ligne '^ST$' 10 "$n"
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

# After a failed row: every window but the main one closed, the program
# on line again with the watchdog probing.
remettre() {
  local id
  regler_sim parle
  regler_sim delai 0.005
  for _ in 1 2 3; do
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
      case "$(xdotool getwindowname "$id")" in
        'Menu principal') ;;
        'MENU "Start"') fermer_marche ;;
        *'menu "B"') touche "$id" alt+q ;;
        *) touche "$id" Escape ;;
      esac
    done
    sleep 0.5
  done
  relancer_sonde
}

# ---- Rows ----

# 1. Stop clicked during the working display's opening read: "s" after it.
stop_pendant_lecture() {
  local n marche fin_lecture stop
  regler_sim delai 0.005
  n=$(lignes_journal)
  cliquer "$principale" "${marcheBtn[@]}"
  marche=$(attendre_fenetre "$titreMarche" 10) || { constat="no working display"; return 1; }
  cliquer "$marche" "${stopBtn[@]}"
  # The read ends with the first poll's ST.
  fin_lecture=$(ligne_apres "$n" '^ST$')
  [ -z "$fin_lecture" ] || { constat="the read was over (line $fin_lecture) before the click"; return 1; }
  attendre_ligne '^s$' 5 "$n" || { constat="no \"s\" within 5 s"; return 1; }
  stop=$ligne
  fin_lecture=$(ligne_apres "$n" '^ST$')
  [ "$stop" -gt "${fin_lecture:-0}" ] || { constat="\"s\" at line $stop, inside the read (ends line $fin_lecture)"; return 1; }
}

# 2. A held click whose pointer leaves 0.1 s later: Stop in a poll step
# sends "s"; MENU B in a probe opens the password form.
clic_puis_depart() {
  ouvrir_marche || { constat="no working display"; return 1; }
  # A step's first reply 0.6 s late, the others at once: the step lasts
  # about 0.75 s.
  attendre_ligne '^ST$' 4 || return 1
  regler_sim delai 0.6
  attendre_ligne '^FT$' 4 "$ligne" || return 1
  regler_sim delai 0.005
  cliquer_et_partir "$(attendre_fenetre "$titreMarche" 1)" "${stopBtn[@]}"
  dans_echange 0.7 || return 1
  attendre_ligne '^s$' 5 "$ligne" || { constat="Stop in a poll step: no \"s\" within 5 s"; return 1; }
  fermer_marche || return 1
  relancer_sonde || return 1
  regler_sim delai 0.6
  attendre_sonde || return 1
  cliquer_et_partir "$principale" "${menuB[@]}"
  dans_echange 0.6 || return 1
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
  dans_echange 0.6 || return 1
  mdp_puis_echap || return 1
  absente_pendant '^Menu des sorties|^Mot de passe' 5 || { constat="MENU C acted: $(titres_visibles)"; return 1; }
  rien_que_sondes "$n" || return 1
  attendre_sonde || return 1
  xdotool mousemove --window "$principale" "${offLine[@]}" click 1 mousemove --window "$principale" "${onLine[@]}" click 1
  dans_echange 0.6 || return 1
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
  dans_echange 0.6 || return 1
  attendre_fenetre "$titreMdp" 4 >/dev/null || { constat="no password form; windows: $(titres_visibles)"; return 1; }
  absente_pendant "$titreMarche" 5 || { constat="working display open with the password form"; return 1; }
  mdp_puis_echap || return 1
  absente_pendant "$titreMarche" 5 || { constat="working display open after the form"; return 1; }
  rien_que_sondes "$n"
}

# 6. Alt+M during a probe that the silent converter fails: off line, the
# working display does not open and nothing more goes on the wire. (After
# a failure, remettre makes the converter speak again.)
mnemonique_hors_ligne() {
  xdotool windowactivate --sync "$principale"
  regler_sim silence
  attendre_sonde || return 1
  sleep 0.2
  xdotool key alt+m
  dans_echange 2 || return 1
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
  dans_echange 1 || return 1
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
  # Input during its read is refused: the read is over by now.
  sleep 0.3
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
  [ -n "$(ligne_apres "$telechargement" '^DM$')" ] || { constat="the second Alt+F4 came after the download"; return 1; }
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

# ---- The run ----

# One row: its number, what it shows, its function, which sets constat to
# what it saw when the outcome is wrong. False once the program is gone.
rangee() {
  local numero="$1" quoi="$2" fonction="$3" t0
  [ ${#choisies[@]} -eq 0 ] || [[ " ${choisies[*]} " == *" $numero "* ]] || return 0
  [ "$apres_echec" = 1 ] && remettre
  constat=""
  t0=$EPOCHREALTIME
  if "$fonction"; then
    if [ "$numero" = 9 ] || kill -0 "$zelto_pid" 2>/dev/null; then
      ok "$numero $quoi ($(awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }') s)"
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

verifier_outils Xvfb openbox xdotool xwininfo import mkfifo
choisies=("${@:2}")
apres_echec=0

mkfifo "$travail/reglage"
exec {reglage_fd}<>"$travail/reglage"
entree_sim="$travail/reglage"
# The save must fail in a read-only folder, root or not.
if [ "$(id -u)" = 0 ]; then
  verifier_outils setpriv
  lanceur=(setpriv --bounding-set -dac_override,-dac_read_search --)
fi

demarrer_x 1280x1024 || exit 1
demarrer_sim --baud 9600 || exit 1
demarrer_zelto ""
principale=$(attendre_fenetre '^Menu principal$' 20) || { echec "no main window"; exit 1; }
attendre_fermeture '^Zelto Windows Link$' 10
en_ligne || { echec "not on line: $(head -3 "$travail/journal" | tr '\n' '|')"; exit 1; }

rangee 1 "Stop clicked during the working display's opening read: \"s\" after the read" stop_pendant_lecture &&
  rangee 2 "held click, pointer gone 0.1 s later: Stop in a poll step sends \"s\", MENU B in a probe opens the password form" clic_puis_depart &&
  rangee 3 "two clicks in a probe: MENU B, MENU C opens the password form only; OFF, ON goes back on line" deux_clics &&
  rangee 5 "Alt+B, Alt+M in a probe: the password form, no working display, Escape closes it" deux_mnemoniques &&
  rangee 6 "Alt+M in a probe that loses the link: no working display off line" mnemonique_hors_ligne &&
  rangee 4 "password typed during a probe: the form takes it, menu B general opens" mdp_pendant_sonde &&
  rangee 9 "Alt+F4 again during the exit road's download: the main window stays; the save fails, the program goes on; Exit ends it" seconde_fermeture

arreter_processus
echo "$nom_test: $reussis passed, $echecs failed"
[ "$echecs" -eq 0 ]
