#!/usr/bin/env bash
# Real-display smoke test: the real zelto under Xvfb and a window manager,
# its port 1 on zelto-sim, checked from outside by screen captures.
#
#   tests/fumee/fumee.sh [BUILD_DIR]      (default: build-test)
#
# The run goes twice: on a 1280x1024 screen with a new zelto.ini, then on a
# 1024x768 screen with a zelto.ini whose positions suit a larger screen.
# Each step is a small function; a new window is checked with
#   id=$(attendre_fenetre "^Title$") && verifier_peinte "$id" "name"
# after opening it with cliquer / touche (ouvrir does both, checks that
# the window's frame lies wholly on the screen and, with a new zelto.ini,
# that it is centred on the main window).
set -uo pipefail

nom_test=smoke
source "$(dirname "$0")/commun.sh"

# ---- Windows ----

# "left top right bottom" of a window's frame: its client area and the
# borders the window manager puts around it.
cadre() {
  local w h x y g d hh b
  IFS='x+' read -r w h x y <<<"$(geometrie "$1")"
  IFS=', ' read -r g d hh b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p')"
  echo "$((x - ${g:-0})) $((y - ${hh:-0})) $((x + w + ${d:-0})) $((y + h + ${b:-0}))"
}

# The window's frame lies wholly on the screen.
verifier_sur_ecran() {
  local id="$1" nom="$2" gauche haut droite bas
  read -r gauche haut droite bas <<<"$(cadre "$id")"
  if [ "$gauche" -ge 0 ] && [ "$haut" -ge 0 ] && [ "$droite" -le "${ecran%x*}" ] && [ "$bas" -le "${ecran#*x}" ]; then
    ok "$nom on screen"
  else
    echec "$nom off screen: frame ($gauche, $haut)-($droite, $bas) on $ecran"
  fi
}

# A window never placed before: its frame is centred on the main window's
# (within 2 pixels).
verifier_centree() {
  local id="$1" nom="$2" g h d b pg ph pd pb dx dy
  read -r g h d b <<<"$(cadre "$id")"
  read -r pg ph pd pb <<<"$(cadre "$principale")"
  dx=$(((g + d) - (pg + pd))) dy=$(((h + b) - (ph + pb)))
  if [ "${dx#-}" -le 4 ] && [ "${dy#-}" -le 4 ]; then ok "$nom centred on the main window"
  else echec "$nom not centred on the main window: frame ($g, $h)-($d, $b), main window ($pg, $ph)-($pd, $pb)"; fi
}

# The window's region of the screen shows a painted window: an unpainted
# one is a single colour (black), painted text brings many.
verifier_peinte() {
  local id="$1" nom="$2" image="$travail/$2.png" couleurs
  import -window root -crop "$(geometrie "$id")" +repage "$image" 2>/dev/null
  couleurs=$(identify -format "%k" "$image" 2>/dev/null || echo 0)
  if [ "${couleurs:-0}" -ge 8 ]; then ok "$nom painted ($couleurs colours)"
  else echec "$nom not painted ($couleurs colours, see $image)"; fi
}

est_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# The window has the keys (the active window) within 2 s of opening.
verifier_active() {
  local id="$1" nom="$2"
  if attendre 2 est_active "$id"; then ok "$nom active"
  else echec "$nom not active (active: $(xdotool getactivewindow 2>/dev/null))"; fi
}

# A window just come up: painted, on screen, centred when asked, active.
verifier_fenetre() {
  local id="$1" nom="$2"
  sleep 0.5
  attendre_calme
  verifier_peinte "$id" "$nom"
  verifier_sur_ecran "$id" "$nom"
  [ "$centrer" = 1 ] && verifier_centree "$id" "$nom"
  verifier_active "$id" "$nom"
}

# Keys to a window, then the window whose title matches comes up painted;
# its id goes into the variable named first.
ouvrir() {
  local var="$1" depuis="$2" titre="$3" nom="$4" id
  shift 4
  touche "$depuis" "$@"
  if id=$(attendre_fenetre "$titre" 10); then
    verifier_fenetre "$id" "$nom"
    printf -v "$var" '%s' "$id"
  else
    echec "$nom: no window"
    return 1
  fi
}

# Keys to a window, then it is gone.
fermer() {
  local id="$1" titre="$2" nom="$3"
  shift 3
  touche "$id" "$@"
  if attendre_fermeture "$titre" 10; then ok "$nom closed"; else echec "$nom still open"; fi
}

# Pixels of pure blue in the window (the U/F curve).
pixels_bleus() {
  local image="$travail/$2.png"
  import -window root -crop "$(geometrie "$1")" +repage "$image" 2>/dev/null
  convert "$image" -fill black +opaque "#0000ff" -fill white -opaque "#0000ff" \
    -format "%[fx:round(mean*w*h)]" info: 2>/dev/null || echo 0
}

# A frequency reading (FT) on the wire since the setpoint was sent.
frequence_lue_apres() { sed -n "/^\\\$F$1\$/,\$p" "$travail/journal" | grep -q '^FT$'; }

# ---- The run ----

# One run of the program on a screen of ecran pixels (WxH) with the given
# zelto.ini text (empty: a new file, every window then opens centred on the
# main window); complet adds the watchdog's timing and the U/F graph, which
# do not depend on the screen.
passe() {
  local ecran_passe="$1" ini="$2" complet="$3"
  centrer=0
  [ -z "$ini" ] && centrer=1
  echo "smoke: screen $ecran_passe"
  demarrer_x "$ecran_passe" || return 1
  demarrer_sim || return 1
  demarrer_zelto "$ini"

  # (a) The splash box, about 1 s into its 3 s.
  if splash=$(attendre_fenetre "^Zelto Windows Link$" 20); then
    sleep 1
    verifier_peinte "$splash" splash
    verifier_sur_ecran "$splash" splash
    attendre_fermeture "^Zelto Windows Link$" 10 || echec "splash still up"
  else
    echec "no splash box"
  fi

  # (b) The main window after the splash.
  if principale=$(attendre_fenetre "^Menu principal$" 10); then
    sleep 0.5
    verifier_peinte "$principale" "main-window"
    verifier_sur_ecran "$principale" "main-window"
  else
    echec "no main window"
    return 1
  fi

  # (c) "ON": the link test, XxX, LES, then the watchdog's line feed every 2 s.
  # "ON" in the "Online" group of the 600 x 440 client area.
  cliquer "$principale" 29 243
  if attendre_commande LES 10; then
    # The buttons come back once LES's reply is read.
    attendre_calme
    ordre=$(grep -n . "$travail/journal" | head -2 | cut -d: -f2 | cut -c1-3 | tr '\n' ' ')
    if [ "$(head -1 "$travail/journal")" = "" ] && [ "$ordre" = "XxX LES " ]; then ok "on line: line feed, XxX, LES"
    else echec "on line: journal starts $(head -3 "$travail/journal" | tr '\n' '|')"; fi
    if [ "$complet" = 1 ]; then
      avant=$(lignes_vides)
      sleep 4.5
      apres=$(lignes_vides)
      if [ $((apres - avant)) -ge 2 ] && [ $((apres - avant)) -le 3 ]; then ok "watchdog: $((apres - avant)) line feeds in 4.5 s"
      else echec "watchdog: $((apres - avant)) line feeds in 4.5 s"; fi
    fi
  else
    echec "on line: no LES in the journal"
  fi

  # (e) Every window once, on line, in French (the scratch folder's language).
  # MENU "B" asks the password first ("pirudo", Enter to OK, Enter presses it).
  touche "$principale" alt+b
  if mdp=$(attendre_fenetre "^Mot de passe" 10); then
    verifier_sur_ecran "$mdp" "password-form"
    [ "$centrer" = 1 ] && verifier_centree "$mdp" "password-form"
    xdotool type --delay 20 pirudo
    touche "$mdp" Return
    touche "$mdp" Return
  else
    echec "no password form"
  fi
  if bgen=$(attendre_fenetre 'menu "B"$' 10); then
    verifier_fenetre "$bgen" "menu-B-general"
    if ouvrir bp "$bgen" 'partitions\.\.\.$' "menu-B-partitions" alt+p; then
      if ouvrir uf "$bp" '^Partie NEMA' "UF-window" alt+p; then
        if [ "$complet" = 1 ]; then
          # The graph button works on a mouse press, at (378, 449) of the window.
          xdotool mousemove --window "$uf" 378 449 mousedown 1 mouseup 1
          sleep 1
          bleus=$(pixels_bleus "$uf" "UF-graph")
          if [ "${bleus:-0}" -ge 50 ]; then ok "U/F graph drawn ($bleus blue pixels)"
          else echec "U/F graph: $bleus blue pixels"; fi
          xdotool mousemove --window "$uf" 378 449 mousedown 1 mouseup 1
          sleep 0.5
        fi
        fermer "$uf" '^Partie NEMA' "UF-window" alt+q
      fi
      fermer "$bp" 'partitions\.\.\.$' "menu-B-partitions" alt+q
    fi
    if ouvrir impression "$bgen" '^Impression\.\.\.$' "print-choice" alt+i; then
      fermer "$impression" '^Impression\.\.\.$' "print-choice" alt+q
    fi
    fermer "$bgen" 'menu "B"$' "menu-B-general" alt+q
  else
    echec "menu B general: no window"
  fi
  if ouvrir menua "$principale" '^MENU "A"' "menu-A" alt+a; then
    fermer "$menua" '^MENU "A"' "menu-A" alt+q
  fi
  if ouvrir menuc "$principale" '^Menu des sorties' "menu-C" alt+c; then
    fermer "$menuc" '^Menu des sorties' "menu-C" alt+q
  fi
  if ouvrir marche "$principale" '^MENU "Start"$' "working-display" alt+m; then
    sleep 1
    if grep -q '^AN' "$travail/journal"; then ok "working display polls"; else echec "working display: no poll"; fi
    if [ "$complet" = 1 ]; then
      # The new setpoint twice: each showing starts in the field, its text
      # selected, so what is typed goes out.
      # Shown again, the dialog stands where it was closed, not centred.
      local centrer_passe="$centrer"
      for valeur in 45 30; do
        [ "$valeur" = 30 ] && centrer=0
        if ouvrir consigne "$marche" '^Nouvelle consigne\.\.\.$' "setpoint-dialog" alt+c; then
          xdotool type --delay 20 "$valeur"
          touche "$consigne" Return
          if attendre_commande "\\\$F$valeur\$" 5; then ok "setpoint $valeur sent"
          else echec "setpoint $valeur: journal holds $(grep '^\$F' "$travail/journal" | tr '\n' ' ')"; fi
          # The button comes back with the next frequency reading.
          attendre 5 frequence_lue_apres "$valeur"
          attendre_calme
        fi
      done
      centrer="$centrer_passe"
    fi
    fermer "$marche" '^MENU "Start"$' "working-display" alt+q
  fi

  # (d) Exit ("&Quitter"): the program ends and zelto.ini holds the main window's place.
  ini="$travail/programme/zelto.ini"
  rm -f "$ini"
  touche "$principale" alt+q
  fin=0
  attendre_fin_zelto 10 && fin=1
  # Field 4: Left of window 2, the main window.
  if [ "$fin" = 1 ] && [ -s "$ini" ] && [ "$(cut -d, -f4 "$ini")" != "0" ]; then ok "exit: program ended, zelto.ini written"
  else echec "exit: ended=$fin, zelto.ini: $(cat "$ini" 2>/dev/null)"; fi
}

verifier_outils Xvfb openbox xdotool xwininfo xprop import identify

passe 1280x1024 "" 1
arreter_processus
# French, COM1; Left and Top in twips of windows 1 to 13: the main window (2)
# at (682, 624) and menu B general (5) at (700, 300) pixels, places on a
# 1280x1024 screen; menu B partitions (6) and the others never placed.
passe 1024x768 "16,0,0,10230,9360,0,0,0,0,10500,4500,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0," 0
bilan
