#include "streams/RemoteScripts.h"

namespace streams {

namespace {

// Standard output carries the file's bytes alone, as a tail of our own reads
// them from its standard input, so that it shares the descriptor's position
// with the script; it looks for more a hundred times a second (a tail of its
// standard input uses no inotify), which costs no process per change. What
// the bytes are goes to standard error, in lines beginning
// kRemoteControl:
//   O ino pos how at tail  from byte at of standard output on, the bytes are
//                          the file ino's from byte pos; how is start (the
//                          tail at open, its first tail bytes), resume, new
//                          (not the file read before), shrunk (the file
//                          read before, now shorter), rotated or truncated
//   W what                 waiting: missing, unreadable
//   H                      nothing to say for a minute (a reader that is
//                          gone makes this write fail, so the far side
//                          ends too)
// A stretch of one file ends when it was replaced and read to its end, or
// when it shrank; then a relay's count of what it passed tells exactly
// where the next begins. The tail and the script share the descriptor's
// position, so /proc tells how far the tail has read.
// Arguments: path, inode read before (or -), position there, tail bytes.
constexpr std::string_view kFollowScript = R"sh(export LC_ALL=C
f=$1 want=$2 pos=$3 tailb=$4
case $f in "/~/"*) f=$HOME/${f#"/~/"} ;; esac
say() { printf '@@tarvik %s\n' "$*" >&2 || exit 1; }
spid= d=
trap '[ -n "$spid" ] && kill $spid 2>/dev/null; [ -n "$d" ] && rm -rf "$d"' EXIT
trap 'exit 1' HUP INT TERM PIPE
d=$(mktemp -d) || exit 1
waiting=
await() {
  if [ "$waiting" != "$1" ]; then waiting=$1; say W $1; fi
  sleep 1
}
# Opens the file on descriptor 3 (at its start); sets ino and size.
open_file() {
  while :; do
    if [ ! -e "$f" ]; then await missing; continue; fi
    if command exec 3<"$f"; then
      set -- $(stat -L -c '%i %s' /dev/fd/3)
      ino=$1 size=$2 waiting=
      return
    fi 2>/dev/null
    await unreadable
  done
}
# How far the tail below has read descriptor 3 (they share its position).
read_pos() {
  p=
  while read -r k v; do [ "$k" = pos: ] && p=$v; done </proc/$$/fdinfo/3
}
open_file
if [ "$want" = "$ino" ] && [ "$size" -ge "$pos" ]; then how=resume
elif [ "$want" = - ]; then how=start; pos=$((size > tailb ? size - tailb : 0))
elif [ "$want" = "$ino" ]; then how=shrunk; pos=0
else how=new; pos=0
fi
tailn=0
[ $how = start ] && tailn=$((size - pos))
out=0
say O $ino $pos $how $out $tailn
while :; do
  # One stretch of one file: a tail from pos, its bytes counted by a relay.
  : >"$d/e"
  # tail skips from where the descriptor stands.
  read_pos
  sleep 2147483647 & spid=$!
  { tail -c +$((pos - ${p:-0} + 1)) -f -s 0.01 --pid=$spid <&3 2>"$d/e" | dd bs=65536 2>"$d/n"; } &
  relay=$!
  quiet=0
  why=
  while [ -z "$why" ]; do
    sleep 1
    # tail said it saw the file shrink: its count is wrong from here on.
    if [ -s "$d/e" ]; then why=truncated; break; fi
    set -- $(stat -L -c '%i %s' /dev/fd/3 "$f" 2>/dev/null)
    read_pos
    # Replaced: the old file is left once read to its end.
    if [ -n "$3" ] && [ "$3" != "$ino" ] && { [ -z "$p" ] || [ "$p" = "$2" ]; }; then
      why=rotated
    fi
    quiet=$((quiet + 1))
    [ $quiet -ge 60 ] && { say H; quiet=0; }
  done
  kill $spid
  wait $relay
  spid=
  c=0
  while read -r n rest; do case $rest in "bytes"*) c=$n ;; esac; done <"$d/n"
  out=$((out + c))
  if [ $why = rotated ]; then
    open_file
    pos=0
    say O $ino 0 rotated $out 0
  else
    # What was read after the last shrink starts the new stretch.
    read_pos
    say O $ino 0 truncated $((out - ${p:-0})) 0
    pos=$p
  fi
done
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
