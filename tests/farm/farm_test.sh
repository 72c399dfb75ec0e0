#!/usr/bin/env bash
# A recording on a Slurm cluster of this one machine, started for the test in
# a private folder with its own MUNGE key, socket and ports: docs/farm's
# record.sbatch submitted as an array of chunks, one chunk's renderer killed
# with SIGKILL mid-run, that index resubmitted alone, and join.sbatch run
# once both have ended. The joined video, and every frame in the folder, must
# be byte for byte those of a single run. Whatever it started is stopped
# however it ends, and the folder removed.
# Usage: tests/farm/farm_test.sh BUILD
#   TARROW_RENDER  the program the jobs run (default BUILD/bin/tarrow-render);
#                  the killed renderer and the single run are BUILD's
set -euo pipefail
build=$(cd "${1:?usage: tests/farm/farm_test.sh BUILD}" && pwd -P)
repo=$(cd "$(dirname "$0")/../.." && pwd)
render=$build/bin/tarrow-render
jobs_render=${TARROW_RENDER:-$render}
frames=240 size=160x100 seed=2013 chunks=6
lost=3 # the array index whose renderer is killed: chunk 4, frames 121 to 160
lost_first=$((lost * frames / chunks + 1)) lost_last=$(((lost + 1) * frames / chunks))
lost_manifest=chunk-$((lost + 1))-of-$chunks.json
# Generous bounds on each wait; every wait ends on the cluster's own evidence.
deadline_s=300
# record.sbatch's own choice, which the single run must share to draw the
# same pixels.
export GALLIUM_OVERRIDE_CPU_CAPS=sse4.1 LP_NUM_THREADS=1
# Nothing of a cluster this may run under (a job's variables, sbatch's
# defaults) reaches this one.
for variable in $(compgen -e); do
  [[ $variable != SLURM_* && $variable != SBATCH_* ]] || unset "$variable"
done

say() { printf 'farm_test: [%3ds] %s\n' "$SECONDS" "$*"; }
[ -x "$render" ] || { say "no $render: build tarrow-render first" >&2; exit 1; }
for tool in munged munge slurmctld slurmd sbatch squeue sinfo scancel pgrep; do
  command -v "$tool" >/dev/null || { say "no $tool: run scripts/setup.sh farm" >&2; exit 1; }
done
SECONDS=0

# munged's socket must be reachable by every user's jobs: the folders on its
# way are open to all, its key to its owner alone.
root=$(mktemp -d /tmp/tarrow-farm.XXXXXX)
chmod 755 "$root"
mkdir -m 755 "$root/munge"
mkdir "$root/log" "$root/jobs" "$root/spool" "$root/state"
conf=$root/slurm.conf
socket=$root/munge/socket
export SLURM_CONF=$conf
# Every process of this cluster carries the marker in its environment (the
# daemons, and through them slurmstepd; the jobs, through sbatch), so that
# what is left of it can be told from another cluster's on this machine.
marker=TARROW_FARM_TEST=$root
daemons=()
controller_up=

# Processes of this cluster still there: named with its folder, or marked.
leftovers() {
  local pid
  {
    pgrep -f -- "$root" || true
    for pid in /proc/[0-9]*; do
      pid=${pid#/proc/}
      { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "$marker" && echo "$pid"
    done
  } | sort -un
}

# The daemons' own log files (their standard error where they never opened
# one), then what the jobs printed.
show_logs() {
  local log
  for log in "$root"/log/*; do
    [[ $log != *.stderr || ! -s ${log%.stderr}.log ]] || continue
    [ -s "$log" ] && { echo "--- $log" && tail -n 30 "$log"; } >&2
  done
  for log in "$root"/jobs/*; do
    [ -s "$log" ] && { echo "--- $log" && tail -n 10 "$log"; } >&2
  done
  return 0
}

fail() {
  say "FAILED: $*" >&2
  show_logs
  exit 1
}

# Waits, up to the deadline, until the command succeeds.
wait_for() {
  local what=$1 start=$SECONDS
  shift
  until "$@"; do
    [ $((SECONDS - start)) -lt $deadline_s ] || fail "$what: not after ${deadline_s}s"
    for pid in "${daemons[@]}"; do
      kill -0 "$pid" 2>/dev/null || fail "$what: a daemon (pid $pid) has exited"
    done
    sleep 0.1
  done
}

cleanup() {
  local status=$? pid left start
  trap - EXIT
  set +e
  if [ -n "$controller_up" ]; then
    scancel --user="$(id -un)" 2>/dev/null
    start=$SECONDS
    while [ -n "$(squeue -h -o %i 2>/dev/null)" ] && [ $((SECONDS - start)) -lt 60 ]; do
      sleep 0.2
    done
  fi
  for pid in "${daemons[@]}"; do
    kill -TERM "$pid" 2>/dev/null
  done
  start=$SECONDS
  for pid in "${daemons[@]}"; do
    while kill -0 "$pid" 2>/dev/null && [ $((SECONDS - start)) -lt 30 ]; do
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  # What outlived its daemon (a job's processes, slurmstepd) is killed too,
  # and a failure of its own: the test must leave nothing running.
  start=$SECONDS
  while left=$(leftovers) && [ -n "$left" ]; do
    if [ $((SECONDS - start)) -ge 10 ]; then
      say "FAILED: left running: $(ps -o pid=,args= -p "$(echo "$left" | paste -sd,)")" >&2
      echo "$left" | xargs kill -KILL 2>/dev/null
      [ $status -ne 0 ] || show_logs
      status=1
      break
    fi
    sleep 0.1
  done
  rm -rf "$root"
  exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Two ports side by side that nothing holds now, other clusters on this
# machine included, below those the kernel hands out to outgoing connections
# and away from the usual ones.
used_ports=" $(awk 'FNR > 1 { sub(/.*:/, "", $2); print $2 }' /proc/net/tcp /proc/net/tcp6 2>/dev/null |
  while read -r hex; do echo $((16#$hex)); done | tr '\n' ' ') "
read -r ephemeral _ </proc/sys/net/ipv4/ip_local_port_range
[ "$ephemeral" -gt 12000 ] || ephemeral=32768
while :; do
  port=$((10000 + RANDOM % ((ephemeral - 10001) / 2) * 2))
  [[ $used_ports == *" $port "* || $used_ports == *" $((port + 1)) "* ]] || break
done

node=$(hostname -s)
# The node as slurmd finds this machine (its CPUs, sockets and memory), so
# that it registers as configured.
hardware=$(slurmd -C)
hardware=${hardware%%$'\n'*}
[[ $hardware == "NodeName=$node "* ]] || fail "slurmd -C says '$hardware', not node $node"
cat >"$conf" <<EOF
ClusterName=tarrowtest
SlurmctldHost=$node(127.0.0.1)
SlurmctldPort=$port
SlurmdPort=$((port + 1))
SlurmUser=$(id -un)
SlurmdUser=$(id -un)
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$socket
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
MpiDefault=none
MailProg=/bin/true
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MinJobAge=3600
KillWait=5
SlurmdSpoolDir=$root/spool
StateSaveLocation=$root/state
SlurmctldPidFile=$root/slurmctld.pid
SlurmdPidFile=$root/slurmd.pid
SlurmctldLogFile=$root/log/slurmctld.log
SlurmdLogFile=$root/log/slurmd.log
$hardware NodeAddr=127.0.0.1 State=UNKNOWN
PartitionName=test Nodes=$node Default=YES MaxTime=INFINITE State=UP
EOF

# The daemons in the foreground, children of this script, so that stopping
# them waits for them.
start_daemon() {
  local log=$1
  shift
  env "$marker" "$@" >>"$log" 2>&1 &
  daemons+=($!)
}
head -c 1024 /dev/urandom >"$root/munge/munge.key"
chmod 600 "$root/munge/munge.key"
start_daemon "$root/log/munged.stderr" munged --foreground --socket="$socket" \
  --key-file="$root/munge/munge.key" --pid-file="$root/munge/munged.pid" \
  --log-file="$root/log/munged.log" --seed-file="$root/munge/munged.seed"
munge_up() { munge -n -S "$socket" >/dev/null 2>&1; }
wait_for "munged answering on $socket" munge_up
start_daemon "$root/log/slurmctld.stderr" slurmctld -D -f "$conf"
controller_up=1
start_daemon "$root/log/slurmd.stderr" slurmd -D -f "$conf"
node_idle() { [ "$(sinfo -h -n "$node" -o %T 2>/dev/null)" = idle ]; }
wait_for "node $node idle" node_idle
say "cluster up in ${SECONDS}s: node $node idle, ports $port and $((port + 1))"

# Each job gets this environment (sbatch passes the submitter's on).
job_env=("$marker" "TARROW_RENDER=$jobs_render" "TARROW_SEED=$seed" "TARROW_FRAMES=$frames"
  "TARROW_SIZE=$size" "TARROW_DIR=$root/frames" "TARROW_CHUNKS=$chunks"
  "TARROW_VIDEO=$root/joined.y4m")
submit() {
  env "${job_env[@]}" sbatch --parsable --chdir="$root" "$@" | cut -d';' -f1
}

# The states of a job's tasks, one "index state" a line ("N/A" for a job
# that is not an array), and whether all have ended.
states() { squeue -h -r -j "$1" --states=all -o '%K %T' 2>/dev/null | sort -n; }
final() {
  case $1 in
  "" | PENDING | CONFIGURING | RUNNING | COMPLETING | SUSPENDED | REQUEUED* | RESIZING | SIGNALING | STAGE_OUT) return 1 ;;
  esac
}
ended() {
  local lines state
  lines=$(states "$1")
  [ -n "$lines" ] || return 1
  while read -r _ state; do
    final "$state" || return 1
  done <<<"$lines"
}

array=$(submit --array=0-$((chunks - 1)) --output="$root/jobs/%x-%A_%a.out" "$repo/docs/farm/record.sbatch")
say "submitted $chunks chunks of $frames frames at $size as array job $array"

# The renderer of the lost task: this build's program, in that task's
# environment, of this cluster.
renderer_of_task() {
  local pid environment state
  for pid in $(pgrep -x tarrow-render); do
    [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$render" ] || continue
    environment=$({ tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null) || continue
    grep -qxF "$marker" <<<"$environment" || continue
    grep -qxF "SLURM_ARRAY_JOB_ID=$array" <<<"$environment" || continue
    grep -qxF "SLURM_ARRAY_TASK_ID=$lost" <<<"$environment" || continue
    victim=$pid
    return 0
  done
  state=$(states "$array" | awk -v i=$lost '$1 == i { print $2 }')
  ! final "$state" || fail "task $lost ended ($state) before its renderer was seen"
  return 1
}
wait_for "the renderer of task $lost" renderer_of_task
# Stopped at once, and let run in short steps until its first frame is
# there: stopped, it cannot race past its last frame while being looked at.
kill -STOP "$victim"
frame() { printf '%s/frames/frame-%06d.png' "$root" "$1"; }
stepped_to_first_frame() {
  [ -e "$(frame $lost_first)" ] && return 0
  kill -CONT "$victim" 2>/dev/null && sleep 0.01 && kill -STOP "$victim" 2>/dev/null ||
    fail "task $lost's renderer (pid $victim) ended before its first frame"
  return 1
}
wait_for "frame $lost_first from task $lost" stepped_to_first_frame
[ ! -e "$(frame $lost_last)" ] && [ ! -e "$root/frames/$lost_manifest" ] ||
  fail "task $lost finished its chunk before it could be killed"
kill -KILL "$victim"
written=$(for ((f = lost_first; f <= lost_last; f++)); do [ ! -e "$(frame $f)" ] || echo; done | wc -l)
say "killed task $lost's renderer (pid $victim) with $written of frames $lost_first to $lost_last written"

wait_for "array job $array to end" ended "$array"
expected=$(for ((i = 0; i < chunks; i++)); do
  [ $i -eq $lost ] && echo "$i FAILED" || echo "$i COMPLETED"
done)
[ "$(states "$array")" = "$expected" ] ||
  fail "array job $array ended as: $(states "$array" | tr '\n' ',') (task $lost alone FAILED expected)"
[ ! -e "$root/frames/$lost_manifest" ] || fail "the killed chunk wrote its manifest"
# The join proves the recording whole, so it must refuse it now.
refused=0
"$jobs_render" --join "$root/frames" --y4m "$root/early.y4m" 2>"$root/log/early-join.err" || refused=$?
[ $refused -eq 2 ] && [ ! -e "$root/early.y4m" ] ||
  fail "the join of a recording with chunk $((lost + 1)) unfinished ended with status $refused, not 2"
say "array job $array ended, task $lost failed; the join refuses the folder"

rerun=$(submit --array=$lost --output="$root/jobs/%x-%A_%a.out" "$repo/docs/farm/record.sbatch")
join=$(submit --dependency="afterany:$array:$rerun" --output="$root/jobs/%x-%j.out" \
  "$repo/docs/farm/join.sbatch")
say "resubmitted task $lost as job $rerun; join job $join after both"
wait_for "join job $join to end" ended "$join"
[ "$(states "$rerun")" = "$lost COMPLETED" ] || fail "job $rerun ended as: $(states "$rerun")"
[ "$(states "$join")" = "N/A COMPLETED" ] || fail "join job $join ended as: $(states "$join")"
say "join job $join completed"

"$render" --seed $seed --frames $frames --size $size --y4m "$root/single.y4m" \
  --png "$root/single" 2>"$root/log/single.err" || fail "the single run failed: $(cat "$root/log/single.err")"
cmp "$root/single.y4m" "$root/joined.y4m" || fail "the joined video differs from the single run's"
listing() { (cd "$1" && find . -maxdepth 1 -name 'frame-*.png' | sort); }
[ "$(listing "$root/frames")" = "$(listing "$root/single")" ] ||
  fail "the folder's frames are not the single run's $frames: $(listing "$root/frames" | wc -l) there"
for name in $(listing "$root/single"); do
  cmp "$root/single/$name" "$root/frames/$name" || fail "frame $name differs from the single run's"
done
say "joined video and all $frames frames byte-identical to a single run's; passed in ${SECONDS}s"
