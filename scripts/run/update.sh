# Sourced by scripts/run.sh: the updater as a user meets it. A small installed suite (two
# programs at version 1.0.0.0, with Chinese names) in a temporary folder; the local update
# server offers 1.1.0.0 of both, slowly enough to watch; the updater starts with its address.
built=build/windows/update
work=$(mktemp -d)
on_exit "rm -rf '$work'"
suite=$work/suite
served=$work/served
mkdir -p "$suite/Template" "$served"
cp "$built/update.exe" "$suite/"
cp "$built/tour/demo_program_old.exe" "$suite/澜图主程序.exe"
cp "$built/tour/demo_program_old.exe" "$suite/邮编助手.exe"
cp "$built/tour/demo_program_new.exe" "$served/main.exe"
cp "$built/tour/demo_program_new.exe" "$served/helper.exe"

python3 tools/updateserver/updateserver.py start --root "$served" --state "$work/server.state"
on_exit "python3 tools/updateserver/updateserver.py stop --state '$work/server.state'"
port=$(cut -d' ' -f2 "$work/server.state")
length=$(stat -c %s "$served/main.exe")
entry() {
  printf '    <File Name="%s" Version="1.1.0.0" Class="%s" Length="%s" URL="http://127.0.0.1:%s/slow/150/%s"/>\n' \
    "$1" "$2" "$length" "$port" "$3"
}
{
  echo '<?xml version="1.0" encoding="UTF-8"?>'
  echo '<Update Start="澜图主程序.exe">'
  echo '  <Files>'
  entry 澜图主程序.exe LumivaneDemo main.exe
  entry 邮编助手.exe "" helper.exe
  echo '  </Files>'
  echo '</Update>'
} >"$served/update.xml"

# The suite's main program is running; the updater closes it before replacing it.
(cd "$suite" && wine 澜图主程序.exe) &
(cd "$suite" && wine update.exe "http://127.0.0.1:$port/update.xml") &
update_pid=$!
on_exit "kill $update_pid 2>/dev/null"
if [ "$interactive" = 1 ]; then
  wait "$update_pid" || true
  return 0
fi

tour=$built/tour/update_tour.exe
wine "$tour" rows 2
shot update-before
wine "$tour" upgrade
sleep 2
shot update-during
wine "$tour" done
shot update-after
wine "$tour" close
wine "$tour" started
shot update-started
wine "$tour" quit
wait "$update_pid" 2>/dev/null || true
