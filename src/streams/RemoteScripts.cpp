#include "streams/RemoteScripts.h"

namespace streams {

namespace {

// Records on standard output, one per line:
//   O ino pos how   reading the file ino from byte pos; how is start (the
//                   tail at open), resume, new (not the file read before),
//                   rotated or truncated
//   D n             n bytes follow, then "C c": the first c of them are the
//                   file's (fewer when it shrank while read; the rest is
//                   filler, so the reader never loses its place)
//   K               the tail at open is complete
//   W what          waiting: missing, unreadable
//   H               nothing new for a minute (a reader that is gone makes
//                   this write fail, so the far side ends too)
// Arguments: path, inode read before (or -), position there, tail bytes.
constexpr std::string_view kFollowScript = R"sh(export LC_ALL=C
f=$1 want=$2 pos=$3 tailb=$4
case $f in "~/"*) f=$HOME/${f#"~/"} ;; esac
exec 4>&1
waiting=
await() {
  if [ "$waiting" != "$1" ]; then waiting=$1; echo "W $1"; fi
  sleep 1
}
# Opens the file on descriptor 3; sets ino and size.
open_file() {
  while :; do
    if [ ! -e "$f" ]; then await missing; continue; fi
    if command exec 3<"$f"; then
      set -- $(stat -L -c '%i %s' /dev/fd/3)
      ino=$1 size=$2
      waiting=
      return
    fi 2>/dev/null
    await unreadable
  done
}
open_file
if [ "$want" = "$ino" ] && [ "$size" -ge "$pos" ]; then how=resume
elif [ "$want" = - ]; then how=start; pos=$((size > tailb ? size - tailb : 0))
else how=new; pos=0
fi
echo "O $ino $pos $how"
# A tail of our own only wakes the loop below: what it prints is dropped.
d=$(mktemp -d) && mkfifo "$d/w" || exit 1
tail -F -c +$((size + 1)) -s 1 --pid=$$ -- "$f" >"$d/w" 2>/dev/null &
exec 5<"$d/w"
rm -rf "$d"
{
  live=1
  [ $how = start ] && live=
  while :; do
    set -- $(stat -L -c '%i %s' /dev/fd/3 "$f" 2>/dev/null)
    size=$2
    if [ "$size" -lt "$pos" ]; then pos=0; echo "O $ino 0 truncated"; fi
    if [ "$size" -gt "$pos" ]; then
      n=$((size - pos))
      [ $n -gt 1048576 ] && n=1048576
      echo "D $n"
      r=$(dd if=/dev/fd/3 bs=65536 iflag=skip_bytes,count_bytes skip=$pos count=$n 2>&1 >&4)
      c=${r##*records out
}
      c=${c%% *}
      case $c in ''|*[!0-9]*) c=0 ;; esac
      [ "$c" -lt "$n" ] && head -c $((n - c)) /dev/zero
      echo "C $c"
      pos=$((pos + c))
      continue
    fi
    [ -z "$live" ] && { echo K; live=1; }
    if [ -n "$3" ] && [ "$3" != "$ino" ]; then
      open_file
      pos=0
      echo "O $ino 0 rotated"
      continue
    fi
    # Waits for a change; a quiet minute sends H, so that a reader that is
    # gone ends this side too.
    r=$(timeout 60 dd bs=1048576 count=1 of=/dev/null 2>&1 <&5) || { echo H; continue; }
    case $r in "0+0 records in"*) sleep 1 ;; esac
  done
}
)sh";

constexpr std::string_view kJournalScript = R"sh(export LC_ALL=C
c=$1 n=$2
shift 2
if [ "$c" != - ]; then
  exec journalctl -q -o export -f -n all --after-cursor="$c" "$@"
fi
d=$(mktemp -d) || exit 1
trap 'rm -rf "$d"' EXIT
trap 'exit 1' HUP INT TERM PIPE
journalctl -q -o export -n "$n" --cursor-file="$d/c" "$@" || exit
printf '%s\n' '-- tail end'
journalctl -q -o export -f -n all --cursor-file="$d/c" "$@"
)sh";

std::string WithArguments(std::string_view script, std::initializer_list<std::string> args) {
    std::string text = "set --";
    for (const std::string& arg : args) text += " " + ShellQuoted(arg);
    text += "\n";
    text += script;
    return text;
}

}  // namespace

std::string ShellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string RemoteFileScript(std::string_view path, const RemoteFilePlace& place,
                             std::uint64_t tailBytes) {
    // The shell's arithmetic is signed.
    const std::uint64_t tail = std::min<std::uint64_t>(tailBytes, std::uint64_t{1} << 62);
    return WithArguments(kFollowScript, {std::string(path), place.inode.empty() ? "-" : place.inode,
                                         std::to_string(place.position), std::to_string(tail)});
}

std::string RemoteJournalScript(const JournalQuery& query, std::string_view cursor,
                                std::size_t tailEntries) {
    std::string text = "set -- " + ShellQuoted(cursor.empty() ? "-" : cursor) + " " +
                       std::to_string(tailEntries == 0 ? 1 : tailEntries);
    if (query.thisBoot) text += " -b";
    if (!query.folder.empty()) text += " -D " + ShellQuoted(query.folder);
    if (query.maxPriority >= 0) text += " -p " + std::to_string(query.maxPriority);
    // Matches of one field are any of them, matches of different fields all,
    // as for a journal read here.
    for (const std::string& unit : query.units) text += " " + ShellQuoted("_SYSTEMD_UNIT=" + unit);
    for (const std::string& id : query.identifiers)
        text += " " + ShellQuoted("SYSLOG_IDENTIFIER=" + id);
    if (!query.host.empty()) text += " " + ShellQuoted("_HOSTNAME=" + query.host);
    text += "\n";
    text += kJournalScript;
    return text;
}

}  // namespace streams
