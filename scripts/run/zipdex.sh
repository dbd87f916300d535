# Sourced by scripts/run.sh: the lookup program on the shipped database.
program=build/windows/plug_in/Zipdex/zipdex.exe
if [ "$interactive" = 1 ]; then
  wine "$program"
  return 0
fi

wine "$program" &
program_pid=$!
on_exit "kill $program_pid 2>/dev/null"
tour=build/windows/plug_in/Zipdex/tour/zipdex_tour.exe
wine "$tour" province 北京市
shot zipdex-province
wine "$tour" search 2 1000
shot zipdex-search
wine "$tour" sort 2
# The click is posted: give the list the moment it takes to sort and repaint.
sleep 1
shot zipdex-sorted
shot zipdex-about "$(wine "$tour" about)"
wine "$tour" close || kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
