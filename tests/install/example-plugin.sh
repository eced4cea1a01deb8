#!/usr/bin/env bash
# The plug-in SDK as a plug-in's author uses it, and the example plug-in in
# the program as installed:
#   1. installs the build into a scratch prefix;
#   2. checks the pkg-config file against the installed header (C and C++);
#   3. builds examples/plugin out of tree, finding only the installed SDK
#      (find_package(TaskgateSDK)), and installs it beside the program;
#   4. makes the demo suite with the installed taskgate-setup and gives ANNA
#      (picture buttons) five buttons that reach the example in each
#      calling form;
#   5. runs the installed taskgate offscreen with the driver preloaded: it
#      logs ANNA in and presses the five buttons; each call's window must
#      show what that form passes.
#
#   example-plugin.sh <build dir> <source dir> <driver library> <scratch dir>
set -euo pipefail

build=$1 source=$2 driver=$3 scratch=$4
rm -rf "$scratch"
mkdir -p "$scratch"
prefix="$scratch/taskgate"

cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"

export PKG_CONFIG_PATH="$prefix/share/pkgconfig"
echo "pkg-config taskgate-sdk $(pkg-config --modversion taskgate-sdk): $(pkg-config --cflags --libs taskgate-sdk)"
printf '#include <taskgate/plugin.h>\nint main(void) { return taskgate_counted_length(0); }\n' >"$scratch/sdk.c"
# shellcheck disable=SC2046 # the flags are words
cc -std=c99 -Wall -Werror $(pkg-config --cflags taskgate-sdk) -o "$scratch/sdk-c" "$scratch/sdk.c" $(pkg-config --libs taskgate-sdk)
# shellcheck disable=SC2046
c++ -std=c++17 -Wall -Werror $(pkg-config --cflags taskgate-sdk) -x c++ -o "$scratch/sdk-cxx" "$scratch/sdk.c" $(pkg-config --libs taskgate-sdk)
"$scratch/sdk-c"

cmake -S "$source/examples/plugin" -B "$scratch/esempio" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >"$scratch/esempio-configure.log"
grep -q "TaskgateSDK_DIR:PATH=$prefix/share/cmake/TaskgateSDK" "$scratch/esempio/CMakeCache.txt" || {
  echo "error: the example did not find the installed SDK:" >&2
  grep TaskgateSDK_DIR "$scratch/esempio/CMakeCache.txt" >&2
  exit 1
}
cmake --build "$scratch/esempio" >"$scratch/esempio-build.log"
cmake --install "$scratch/esempio"
test -f "$prefix/esempio.so"
# Only the entry points are exported.
exports=$(nm -D --defined-only "$prefix/esempio.so" | awk '$2 == "T" { print $3 }' | sort | tr '\n' ' ')
echo "esempio.so exports: $exports"
[[ $exports == "MostraFinestraX MostraParametri MostraParametriX MostraParametriY MostraUtente " ]]

"$prefix/taskgate-setup" --demo --user-db "$prefix" >"$scratch/setup.log"

# ANNA's project (2) shows picture buttons. The texts are Windows-1252:
# "però" is four bytes.
{
  echo "INSERT INTO PULSANTONI (ID,PROGETTO,VISIBILE,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOME,DLL,FUNZIONE,LIVELLO2VERSIONE,PARAMETRIBLOB) VALUES (101,2,'1',10,500,100,40,'Utente','esempio.dll','MostraUtente','0',NULL);"
  echo "INSERT INTO PULSANTONI (ID,PROGETTO,VISIBILE,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOME,DLL,FUNZIONE,LIVELLO2VERSIONE,PARAMETRIBLOB) VALUES (102,2,'1',120,500,100,40,'Parametri','esempio.dll','MostraParametri','1','ANNO=2024');"
  echo "INSERT INTO PULSANTONI (ID,PROGETTO,VISIBILE,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOME,DLL,FUNZIONE,LIVELLO2VERSIONE,PARAMETRIBLOB) VALUES (103,2,'1',230,500,100,40,'Finestra','esempio','MostraFinestraX','0',NULL);"
  printf "INSERT INTO PULSANTONI (ID,PROGETTO,VISIBILE,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOME,DLL,FUNZIONE,LIVELLO2VERSIONE,PARAMETRIBLOB) VALUES (104,2,'1',340,500,100,40,'Parametri X','ESEMPIO.DLL','MostraParametriX','1','per\xf2');\n"
  printf "INSERT INTO PULSANTONI (ID,PROGETTO,VISIBILE,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOME,DLL,FUNZIONE,LIVELLO2VERSIONE,PARAMETRIBLOB) VALUES (105,2,'1',450,500,100,40,'Parametri Y','esempio.dll','MostraParametriY','0','CONTO=per\xf2');\n"
  echo "COMMIT;"
} >"$scratch/buttons.sql"
isql-fb -q -user SYSDBA -i "$scratch/buttons.sql" "$prefix/user/user.fdb"

cd "$scratch"
status=0
QT_QPA_PLATFORM=offscreen TASKGATE_DRIVE=buttons TASKGATE_DRIVE_USER=ANNA TASKGATE_DRIVE_BUTTONS=101,102,103,104,105 \
  LD_PRELOAD="$driver" "$prefix/taskgate" >"$scratch/calls.txt" 2>"$scratch/taskgate.err" || status=$?
cat "$scratch/calls.txt"
if [[ $status -ne 0 ]]; then
  echo "error: the installed taskgate ended with status $status" >&2
  cat "$scratch/taskgate.err" >&2
  exit 1
fi

# The user is ANNA's number; the forms with a window id get the call's id,
# one per call, from the call log.
id='([1-9][0-9]*)'
expected=(
  '^button 101: Esempio - MostraUtente: Utente 3$'
  '^button 102: Esempio - MostraParametri: Utente 3; Parametri "ANNO=2024" \(9 byte\)$'
  "^button 103: Esempio - MostraFinestraX: Utente 3; Finestra $id\$"
  "^button 104: Esempio - MostraParametriX: Utente 3; Finestra $id; Parametri \"però\" \\(4 byte\\)\$"
  "^button 105: Esempio - MostraParametriY: Utente 3; Finestra $id; Parametri \"CONTO=però\" \\(10 byte\\)\$"
)
failed=0
ids=()
for pattern in "${expected[@]}"; do
  line=$(grep -E "$pattern" "$scratch/calls.txt" || true)
  if [[ -z $line ]]; then
    echo "error: no line matches $pattern" >&2
    failed=1
  elif [[ $line =~ Finestra\ ([0-9]+) ]]; then
    ids+=("${BASH_REMATCH[1]}")
  fi
done
if [[ $(printf '%s\n' "${ids[@]}" | sort -u | wc -l) -ne 3 ]]; then
  echo "error: the three calls with a window id did not get three ids: ${ids[*]}" >&2
  failed=1
fi
exit "$failed"
