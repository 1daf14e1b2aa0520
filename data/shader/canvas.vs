#version 410 core
// The canvas and the texture fonts: positions through World, View and Projection; the first
// vertex colour and the texture coordinate go on to the pixel stage.
uniform mat4 World;
uniform mat4 View;
uniform mat4 Projection;

layout(location = 0) in vec3 inPosition;
layout(location = 4) in vec4 inColor;
layout(location = 8) in vec2 inTexCoord;

layout(location = 0) out vec4 vColor;
layout(location = 1) out vec2 vTexCoord;
out gl_PerVertex
{
    vec4 gl_Position;
};

void main()
{
    gl_Position = Projection * (View * (World * vec4(inPosition, 1.0)));
    vColor = inColor;
    vTexCoord = inTexCoord;
}
