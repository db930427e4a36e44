// Cub: a box-shaped trainer. Axes: x towards the tail, y towards the right
// wing tip, z up. The numbers are centimetres, SCALE makes them metres.
SCALE 0.01

// header: size, axis x y z, position x y z, enabled, spare
OBJECT BODY 0  0 0 1  0 0 0  1 0
TEXTURE OFF
CULL ON                  // corners counter-clockwise seen from outside
COLOR 0.95 0.8 0.1 0 0   // yellow fuselage
QUADS
-30 -6 6   70 -6 6   70 6 6   -30 6 6           // top
-30 -6 -6   -30 6 -6   70 6 -6   70 -6 -6       // bottom
-30 6 -6   -30 6 6   70 6 6   70 6 -6           // right side
-30 -6 -6   70 -6 -6   70 -6 6   -30 -6 6       // left side
-30 -6 -6   -30 -6 6   -30 6 6   -30 6 -6       // nose
70 -6 -6   70 6 -6   70 6 6   70 -6 6           // tail end
CULL OFF                 // thin surfaces, seen from both sides
COLOR 0.8 0.1 0.1 0 0    // red wing and tail
-20 -80 7   5 -80 7   5 80 7   -20 80 7         // wing
55 -28 0   70 -28 0   70 28 0   55 28 0         // tailplane
TRIANGLES
50 0 6   70 0 6   70 0 24                       // fin
ALPHA 0.5                // see-through windscreen
COLOR 0.3 0.4 0.6 0 0
-20 -6 7   -28 0 6   -20 6 7

OBJECT PROPELLER 13  -1 0 0  -31 0 0  1 0       // disc of 13 cm radius at the nose
OBJECT TWO_WHEEL 5  0 1 0  -18 15 -16  1 0      // wheels 5 cm radius, y = +15 and -15
END
