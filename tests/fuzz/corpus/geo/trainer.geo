// A box of a model: fuselage and wing, x towards the tail, y right, z up.
SCALE 1
OBJECT BODY 0  0 0 1  0 0 0  1 0
TEXTURE OFF
CULL OFF
COLOR 0.9 0.2 0.1 0 0
QUADS
-0.5 -0.05 -0.1   0.6 -0.05 -0.1   0.6 0.05 -0.1   -0.5 0.05 -0.1
-0.5 -0.05 0.05   -0.5 0.05 0.05   0.6 0.05 0.05   0.6 -0.05 0.05
-0.1 -1 0   0.2 -1 0   0.2 1 0   -0.1 1 0
END
