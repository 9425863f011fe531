# Names with bytes above 127 (Latin-1), one a UTF-8 pair for another text: arrangement C11 (its
# track 1 calling the empty F12, a finding of the check) and program F11.
poke $N.ARR 32 'Caf\351 \303\251\377' && poke $N.ARR $((32 + 39)) '\0\3' && poke $N.ARR $((32 + 47)) '\1\3'
poke $N.PRG 48 'Gr\303\274n \302\260'
