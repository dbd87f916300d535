# Sourced by scripts/run.sh: the parcel-tracking program against the local vendor site, which
# serves on 127.0.0.1 port 80. That port needs root; when it is taken the site says so and the
# command stops.
program=build/windows/package/package.exe
work=$(mktemp -d)
on_exit "rm -rf '$work'"
control=$work/site.control
site() { python3 tools/vendorsite/vendorsite.py "$@"; }
site start --state "$work/site.state" --control "$control" --lifetime 3600
on_exit "python3 tools/vendorsite/vendorsite.py stop --state '$work/site.state'"
if [ "$interactive" = 1 ]; then
  wine "$program"
  return 0
fi

tour=build/windows/package/tour/package_tour.exe
# One start of the program, driven through the given steps; "shot:NAME" takes a screenshot.
session() {
  wine "$program" &
  local pid=$! step
  for step in "$@"; do
    case "$step" in
      shot:*) shot "${step#shot:}" ;;
      about) shot package-about "$(wine "$tour" about)" ;;
      *) wine "$tour" $step ;;
    esac
  done
  wine "$tour" close
  wait "$pid" 2>/dev/null || true
}

wine reg delete 'HKCU\Software\Lumivane Software\ruzuviva' /f >/dev/null 2>&1 || true
session shown shot:package-welcome "company 顺丰速运" shot:package-company about
session shown shot:package-remembered
echo refuse >"$control"
for _ in $(seq 1 50); do
  [ "$(cat "$control.applied" 2>/dev/null)" = refuse ] && break
  sleep 0.1
done
session refused shot:package-offline
