# Ten named songs as a save after song edits leaves them: song 0's sections of 2, 0 and 1 units,
# song 6's section 4 of 3 and song 9's last of 4, from offset 8192 on; the songs end at 8202,
# where the pattern table and the end offset point (no patterns). Unit u holds "song unit u".
for s in $(seq 0 9); do poke $N.SNG $((96 + 318 * s + 54)) "Song $s" && poke $N.SNG $((96 + 318 * s + 52)) '\0'; done
poke $N.SNG 3476 '\0\40\2\40\2\40' && poke $N.SNG 3482 '\3\40' 104 && poke $N.SNG 3690 '\6\40' 63
poke $N.SNG 3816 '\12\40' 101
for u in $(seq 0 9); do printf 'song unit %02d....' $u >>$N.SNG; done
