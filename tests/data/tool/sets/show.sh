# Items whose fields show each list's first entry for a value beyond it: program F11, style C11,
# arrangement C11 (all its tracks F11), backing sequence 2, the global settings and KBD set 11.
poke $N.PRG 48 'Grand Piano' && poke $N.PRG $((48 + 16)) '\0'
poke $N.STY 23 '\1\230\4' && { printf 'Ballad          '; head -c 1160 /dev/zero; } >>$N.STY
poke $N.ARR 32 'Pop Song' && poke $N.ARR $((32 + 16)) '\1\0\1'
for t in $(seq 0 10); do poke $N.ARR $((32 + 39 + 8 * t)) '\0\3'; done
poke $N.ARR $((32 + 21)) '\132' && poke $N.ARR $((32 + 23)) '\36\11\373' && poke $N.ARR $((32 + 28)) '\41'
poke $N.ARR $((32 + 38)) '\15'
poke $N.BSQ $((96 + 460)) 'Intro' && poke $N.BSQ $((96 + 460 + 16)) '\0\1'
poke $N.GBL $((32 + 3)) '\74' && poke $N.GBL $((32 + 15)) '\74'
poke $N.ARK 33 '\74' && for t in 0 1 2 3 4; do poke $N.ARK $((32 + 16 + 8 * t)) '\0\3'; done
