# Arrangement C11 named with control bytes, in category 3, playing style C16.
poke $N.ARR 32 'AB\nCD\1\177EF\r' && poke $N.ARR $((32 + 16)) '\3\5\1'
