# The set the edit commands work on: arrangements C11-C14 named, C12 called by backing sequences 0
# and 1, C11 playing program F11 "Warm Bass" on track 0; KBD sets numbered in their first byte.
# Run in the set directory of an empty set NAME.SET, $N its NAME.
for i in 0 1 2 3; do poke $N.ARR $((32 + 164 * i)) "Arr $i"; done
poke $N.ARR $((32 + 39)) '\0\3'
poke $N.PRG 48 'Warm Bass'
for b in 0 1; do poke $N.BSQ $((96 + 230 * b)) "Seq $b" && poke $N.BSQ $((96 + 230 * b + 16)) '\1\1'; done
for i in $(seq 1 63); do poke $N.ARK $((32 + 56 * i)) "\\$(printf %o $i)"; done
