// The measuring method: a carpenter's square held with the edge of its body against a
// sunlit white wall and its tongue standing straight out from the wall, its plane turned
// until it nearly contains the sun, so the tongue throws a pencil-thin shadow on the
// wall in line with the body.
// Lengths in centimetres; the outer corner of the square touches the wall at the origin.
// The wall is the plane z = 0 and faces the camera (towards -z); y is up.
#version 3.7;

#ifndef (Quality) #declare Quality = 1; #end  // 0: quick preview without bounced light

global_settings {
  assumed_gamma 1.0
  max_trace_level 8
  #if (Quality > 0)
    radiosity {
      pretrace_start 0.08
      pretrace_end 0.01
      count 160
      nearest_count 8
      error_bound 0.6
      recursion_limit 2
      low_error_factor 0.6
      gray_threshold 0.0
      minimum_reuse 0.015
      brightness 1.0
      adc_bailout 0.01
      normal on
    }
  #end
}

// ---- Sun ---------------------------------------------------------------------------
// The sun stands up and to the right, and a few degrees out of the square's plane
// (towards the face the camera sees), so that the tongue's shadow is about as wide as a
// pencil rather than a hairline.
#declare SunIncidence = 45;   // degrees between the sun and the wall's normal
#declare SunSide = 30;        // degrees of the body off the vertical, towards the sun
#declare Incidence = radians(SunIncidence);
// along the body, towards the sun
#declare P = <sin(radians(SunSide)), cos(radians(SunSide)), 0>;
// in the wall across the body: the normal of the square's face that the camera sees
#declare NP = <cos(radians(SunSide)), -sin(radians(SunSide)), 0>;
#declare WallOut = <0, 0, -1>;
#declare OffPlaneAngle = 3.5;  // degrees out of the square's plane
#declare OffPlane = radians(OffPlaneAngle);
#declare SunDir =
  vnormalize(sin(Incidence) * P + cos(Incidence) * WallOut + sin(OffPlane) * NP);
#declare SunDist = 100000;
// the sun's disc, a little smaller than the real 0.53 degrees for a crisper shadow
#declare SunSize = SunDist * tan(radians(0.45));

light_source {
  SunDist * SunDir
  color rgb <1.0, 0.94, 0.84> * 1.25
  area_light SunSize * vnormalize(vcross(SunDir, y)),
             SunSize * vnormalize(vcross(SunDir, vcross(SunDir, y))), 9, 9
  adaptive 2
  circular
  orient
}

sky_sphere {
  pigment {
    gradient y
    color_map {
      [0.0 color rgb <0.40, 0.45, 0.55>]
      [0.5 color rgb <0.22, 0.31, 0.52>]
      [1.0 color rgb <0.14, 0.23, 0.48>]
    }
  }
}

// A pale paved ground out of view sends some warm light back up the wall.
plane {
  y, -160
  pigment { color rgb <0.55, 0.52, 0.47> }
  finish { diffuse 0.7 ambient 0 }
}

// ---- Wall --------------------------------------------------------------------------
box {
  <-400, -160, 0>, <400, 400, 30>
  texture {
    pigment {
      granite
      color_map {
        [0.0 color rgb <0.86, 0.85, 0.82>]
        [0.5 color rgb <0.90, 0.89, 0.86>]
        [1.0 color rgb <0.87, 0.86, 0.83>]
      }
      scale 40
    }
    normal { granite 0.22 scale 0.9 }
    finish { diffuse 0.82 ambient 0 specular 0.02 roughness 0.2 }
  }
  texture {
    pigment { color rgbt <0.96, 0.95, 0.92, 0.9> }
    normal { bumps 0.35 scale 0.18 }
    finish { diffuse 0.8 ambient 0 }
  }
}

// ---- Carpenter's square ------------------------------------------------------------
#declare Thickness = 0.3;
#declare BodyLength = 60;
#declare BodyWidth = 5;
#declare TongueLength = 40;   // how far the square stands out of the wall
#declare TongueWidth = 3.8;
#declare SteelTexture = texture {
  pigment { color rgb <0.10, 0.13, 0.18> }
  normal { bumps 0.04 scale <3, 0.02, 0.02> }
  finish {
    ambient 0 diffuse 0.55 specular 0.5 roughness 0.02 metallic
    reflection { 0.10, 0.22 metallic }
  }
}
#declare SquareShape = union {
  // body, its edge on the wall
  box { <0, 0, -Thickness / 2>, <BodyLength, BodyWidth, Thickness / 2> }
  // tongue, straight out of the wall
  box { <0, 0, -Thickness / 2>, <TongueWidth, TongueLength, Thickness / 2> }
}
#declare Square = object {
  SquareShape
  texture { SteelTexture }
  texture {
    pigment { image_map { png "marks.png" once interpolate 2 } scale <BodyLength, TongueLength, 1> }
    finish { ambient 0 diffuse 0.8 specular 0.1 }
  }
  // local x along the body, y out of the wall, z through the plate away from the camera,
  // so the graduations read the right way round on the face the camera sees
  matrix < P.x, P.y, P.z,  0, 0, -1,  -NP.x, -NP.y, -NP.z,  0, 0, 0 >
}
object { Square }

// ---- Hand --------------------------------------------------------------------------
// Built in its own frame: hand axis along +y (wrist to knuckles), back of the hand up
// (+z), thumb towards -x. The palm rests on the outer edge of the body, which runs along
// x through the origin; the fingers curl down over the face the camera sees, the thumb
// down the hidden face.
#declare SkinTexture = texture {
  pigment { color rgb <0.80, 0.55, 0.43> }
  normal { bumps 0.06 scale 0.2 }
  finish { ambient 0 diffuse 0.78 specular 0.10 roughness 0.06 }
}
// A blob component of strength 1 shows at about 0.54 of its radius with threshold 0.5;
// the radii below are the sizes meant, scaled by this factor.
#declare BR = 1.85;
// A finger from its knuckle K: three phalanges of the given lengths whose directions in
// the y-z plane turn down over the edge and back towards the plate.
#macro FingerPoints(K, L, Spread)
  #local D1 = vnormalize(<Spread, 0.50, -0.87>);
  #local D2 = vnormalize(<Spread, 0.02, -1.0>);
  #local D3 = vnormalize(<Spread, -0.40, -0.92>);
  #declare FP1 = K + L * 0.45 * D1;
  #declare FP2 = FP1 + L * 0.31 * D2;
  #declare FP3 = FP2 + L * 0.20 * D3;
#end
#macro FingerBlob(K, L, R, Spread)
  FingerPoints(K, L, Spread)
  cylinder { K, FP1, BR * R, 1 }
  cylinder { FP1, FP2, BR * R * 0.92, 1 }
  cylinder { FP2, FP3, BR * R * 0.84, 1 }
  sphere { FP1, BR * R * 1.02, 0.3 }
  sphere { FP2, BR * R * 0.95, 0.3 }
  sphere { FP3, BR * R * 0.84, 0.9 }
#end
#declare Knuckle1 = <-2.85, 1.7, 1.6>; #declare Len1 = 7.0; #declare Rad1 = 0.98;
#declare Knuckle2 = <-0.95, 2.0, 1.7>; #declare Len2 = 7.6; #declare Rad2 = 1.00;
#declare Knuckle3 = < 0.95, 1.8, 1.65>; #declare Len3 = 7.2; #declare Rad3 = 0.95;
#declare Knuckle4 = < 2.75, 1.3, 1.5>; #declare Len4 = 5.8; #declare Rad4 = 0.85;
#declare HandBlob = blob {
  threshold 0.5
  // the back of the hand, resting on the edge of the plate: four bones fanning out from
  // the wrist to the knuckles
  cylinder { <-1.5, -8.3, 1.7>, Knuckle1 - <0, 0.3, 0.25>, BR * 1.05, 1 }
  cylinder { <-0.5, -8.5, 1.8>, Knuckle2 - <0, 0.3, 0.25>, BR * 1.05, 1 }
  cylinder { < 0.5, -8.4, 1.8>, Knuckle3 - <0, 0.3, 0.25>, BR * 1.0, 1 }
  cylinder { < 1.4, -8.2, 1.7>, Knuckle4 - <0, 0.3, 0.25>, BR * 0.95, 1 }
  cylinder { <-1.6, -8.4, 1.8>, <1.6, -8.4, 1.8>, BR * 1.5, 1 }
  // forearm, rising away from the wall
  cylinder { <0, -9.5, 2.0>, <0, -16, 3.4>, BR * 2.5, 1 }
  cylinder { <0, -14, 3.1>, <0, -30, 5.8>, BR * 3.6, 1 }
  // knuckles
  sphere { Knuckle1, BR * 1.0, 0.35 }
  sphere { Knuckle2, BR * 1.05, 0.35 }
  sphere { Knuckle3, BR * 1.0, 0.35 }
  sphere { Knuckle4, BR * 0.9, 0.35 }
  FingerBlob(Knuckle1, Len1, Rad1, -0.05)
  FingerBlob(Knuckle2, Len2, Rad2, 0.0)
  FingerBlob(Knuckle3, Len3, Rad3, 0.04)
  FingerBlob(Knuckle4, Len4, Rad4, 0.10)
  // thumb, down the hidden face
  cylinder { <-3.2, -4.5, 1.0>, <-3.6, -2.0, -1.4>, BR * 1.15, 1 }
  cylinder { <-3.6, -2.0, -1.4>, <-3.3, -1.2, -4.0>, BR * 1.0, 1 }
  sphere { <-3.3, -1.2, -4.0>, BR * 0.9, 1 }
}
#declare Nail = sphere { 0, 1 scale <0.48, 0.16, 0.75> }
#macro NailOn(K, L, R, Spread)
  FingerPoints(K, L, Spread)
  // on the outside of the last phalanx, which faces away from the plate
  object { Nail scale R / 0.9 translate FP3 + <0, 0.78 * R, 0.45 * R> }
#end
#declare Hand = union {
  object { HandBlob texture { SkinTexture } }
  union {
    NailOn(Knuckle1, Len1, Rad1, -0.05)
    NailOn(Knuckle2, Len2, Rad2, 0.0)
    NailOn(Knuckle3, Len3, Rad3, 0.04)
    NailOn(Knuckle4, Len4, Rad4, 0.10)
    texture {
      pigment { color rgb <0.88, 0.68, 0.62> }
      finish { ambient 0 diffuse 0.7 specular 0.35 roughness 0.01 }
    }
  }
  // shirt sleeve over the forearm
  cone {
    <0, -17.5, 4.0>, 4.6, <0, -90, 17>, 5.8
    texture {
      pigment { color rgb <0.20, 0.30, 0.46> }
      normal { wrinkles 0.5 scale 1.5 }
      finish { ambient 0 diffuse 0.8 }
    }
  }
}
// The hand crosses the body a little slanted, so the forearm rises up and away to the
// left of the square.
#declare HandY = vnormalize(NP - 0.45 * P);
#declare HandZ = -z;
#declare HandX = vcross(HandY, HandZ);
#declare HandAt = 36 * P + <0, 0, -BodyWidth>;  // 36 cm up the body, on its outer edge
object {
  Hand
  matrix < HandX.x, HandX.y, HandX.z,  HandY.x, HandY.y, HandY.z,
           HandZ.x, HandZ.y, HandZ.z,  HandAt.x, HandAt.y, HandAt.z >
}

// ---- Camera ------------------------------------------------------------------------
// Low and to the right of the square, so the tongue is seen running out towards the
// camera and the hand stands above it. The lettering is placed from these numbers too.
#declare CamX = 55;
#declare CamY = -25;
#declare CamZ = -70;
#declare LookX = -6;
#declare LookY = 6;
#declare LookZ = -10;
#declare CamAngle = 50;   // degrees, across the picture
camera {
  perspective
  location <CamX, CamY, CamZ>
  look_at <LookX, LookY, LookZ>
  right x * 387 / 500
  up y
  angle CamAngle
}
